#pragma once

#include "conduit2/DriverHandle.h"
#include "conduit2/USBDevice.h"

#include <map>
#include <memory>
#include <optional>
#include <shared_mutex>
#include <thread>

namespace Conduit2 {

// The platform half of USBDevice: the driver handle and one I/O record per
// requesting thread, created on the thread's first request and kept until
// the channel is destroyed.
class USBDevice::OSImpl {
public:
    bool open(const USBDeviceOSHandle& device);
    void close();
    bool readIdentity(USBDeviceInfo& info);
    bool readDriverVersion(std::uint32_t& version);

    std::uint32_t request(std::uint32_t code, std::span<const std::uint8_t> input, std::span<std::uint8_t> output,
                          std::uint32_t* bytesReturned, std::uint32_t timeoutMs, const Basalt::Event* cancelEvent);

private:
    DriverIoRecord& recordOfThisThread();

    std::unique_ptr<DriverHandle> handle_;
    std::shared_mutex recordsLock_;
    std::map<std::thread::id, std::unique_ptr<DriverIoRecord>> records_;
    std::optional<std::uint32_t> driverVersion_;
};

} // namespace Conduit2
