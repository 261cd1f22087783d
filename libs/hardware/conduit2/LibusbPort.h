#pragma once

#include "conduit2/UsbPort.h"


struct libusb_device_handle;

namespace Conduit2 {

// An open libusb device; transfers are libusb's asynchronous control
// transfers, completed on the bus's event thread.
class LibusbPort final : public UsbPort {
public:
    explicit LibusbPort(libusb_device_handle* handle);
    ~LibusbPort() override;
    LibusbPort(const LibusbPort&) = delete;
    LibusbPort& operator=(const LibusbPort&) = delete;

    std::unique_ptr<PortTransfer> createTransfer() override;
    std::uint32_t claimInterface(std::uint8_t interfaceNumber) override;
    std::uint32_t reset() override;

private:
    libusb_device_handle* handle_;
};

} // namespace Conduit2
