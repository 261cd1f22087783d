#pragma once

#include "conduit2/DriverIoRecord.h"
#include "conduit2/UsbBus.h"
#include "conduit2/UsbDescriptors.h"

#include <cstdint>
#include <memory>
#include <span>

namespace Conduit2 {

// An open device of the in-process USB driver. It answers the I/O-control
// requests of the maker's driver (see DriverRequest) over the device's port:
// descriptor requests and control transfers as control transfers, the DFU
// requests as the DFU 1.1 standard's class requests on the DFU interface.
class DriverHandle {
public:
    DriverHandle(UsbBusDevice device, std::unique_ptr<UsbPort> port);
    ~DriverHandle();
    DriverHandle(const DriverHandle&) = delete;
    DriverHandle& operator=(const DriverHandle&) = delete;

    // Starts a request. Returns 0 when it completed at once (the byte count in
    // record.bytes), IoPending when it goes on (record.event is set when it
    // completes, with record.status and record.bytes), or an error code.
    // `output` must stay valid until the request has completed or been
    // cancelled.
    std::uint32_t ioControl(std::uint32_t code, std::span<const std::uint8_t> input,
                            std::span<std::uint8_t> output, DriverIoRecord& record);

    // Cancels the record's pending request; false when that failed.
    bool cancel(DriverIoRecord& record);

    const UsbBusDevice& device() const { return device_; }

private:
    std::uint32_t startTransfer(const UsbSetup& setup, std::span<const std::uint8_t> outData,
                                std::span<std::uint8_t> inData, DriverIoRecord& record);
    std::uint32_t transferNow(const UsbSetup& setup, std::span<std::uint8_t> inData, std::size_t* bytes);
    std::uint32_t claimFor(const UsbSetup& setup);
    std::uint32_t dfuRequest(std::uint32_t code, std::span<const std::uint8_t> input,
                             std::span<std::uint8_t> output, DriverIoRecord& record);
    std::uint32_t detach();
    std::uint32_t hidRequest(std::uint32_t code, std::span<std::uint8_t> output, DriverIoRecord& record);
    static std::uint32_t complete(DriverIoRecord& record, std::uint32_t status, std::size_t bytes);

    UsbBusDevice device_;
    std::unique_ptr<UsbPort> port_;
    const UsbInterfaceInfo* dfuInterface_ = nullptr;
    std::optional<DfuFunctionalDescriptor> dfuFunctional_;
};

} // namespace Conduit2
