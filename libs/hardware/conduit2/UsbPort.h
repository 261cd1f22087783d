#pragma once

#include "conduit2/DriverRecords.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace Conduit2 {

// One control transfer slot on a port, reused for every transfer of one
// requesting thread.
class PortTransfer {
public:
    // Runs once per submitted transfer, with an operating-system code and the
    // bytes of the data stage; possibly before submit() returns, possibly on
    // another thread.
    using Completion = std::function<void(std::uint32_t status, std::size_t bytes)>;

    virtual ~PortTransfer() = default;

    // Starts a control transfer; `data` holds wLength bytes and stays valid
    // until the completion has run. Returns 0 when started, else an error
    // code (the completion does not run then): Busy while the transport
    // still holds a transfer whose cancel failed.
    virtual std::uint32_t submit(const UsbSetup& setup, std::uint8_t* data, Completion completion) = 0;

    // Cancels a transfer still under way. On return its completion has run or
    // never will, and the data buffer may be reused, whatever the result.
    // False when the transport could not cancel it; the slot then refuses
    // new transfers until the transport has given the old one back.
    virtual bool cancel() = 0;
};

// The transport to one attached device: libusb for real hardware, the
// simulated bus for the simulated Trovix Studio.
class UsbPort {
public:
    virtual ~UsbPort() = default;
    virtual std::unique_ptr<PortTransfer> createTransfer() = 0;
    // Claims an interface before requests addressed to it (again for every
    // such request, so a claim must be cheap once made); 0 or an error code.
    virtual std::uint32_t claimInterface(std::uint8_t interfaceNumber) = 0;
    // A USB port reset of the device; 0 or an error code.
    virtual std::uint32_t reset() = 0;
};

} // namespace Conduit2
