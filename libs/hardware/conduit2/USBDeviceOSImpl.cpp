#include "conduit2/USBDeviceOSImpl.h"

#include "conduit2/AcceptedHandle.h"
#include "conduit2/DeviceIoControl.h"
#include "conduit2/IdentityReaders.h"
#include "conduit2/OsErrors.h"
#include "conduit2/UsbDriver.h"

#include <array>
#include <mutex>

namespace Conduit2 {

// Takes over the handle that a factory opened to accept the device, when it
// is still on offer; else opens the device.
bool USBDevice::OSImpl::open(const USBDeviceOSHandle& device)
{
    close();
    if (device.accepted) {
        handle_ = device.accepted->take();
    }
    return handle_ || UsbDriver::instance().open(device.devicePath, handle_) == OsError::Success;
}

void USBDevice::OSImpl::close()
{
    // The records' transfer slots belong to the handle's port.
    {
        std::unique_lock guard(recordsLock_);
        for (auto& [thread, record] : records_) {
            record->transfer.reset();
            record->transferOwner = nullptr;
        }
    }
    handle_.reset();
}

bool USBDevice::OSImpl::readIdentity(USBDeviceInfo& info)
{
    return readDeviceDescriptor(handle_.get(), info, true);
}

bool USBDevice::OSImpl::readDriverVersion(std::uint32_t& version)
{
    if (!driverVersion_) {
        std::array<std::uint8_t, 12> record{};
        std::uint32_t received = 0;
        if (request(DriverRequest::DriverVersion, {}, record, &received, 0, nullptr) != OsError::Success
            || received < record.size()) {
            return false;
        }
        const std::uint32_t low = static_cast<std::uint32_t>(record[4]) | static_cast<std::uint32_t>(record[5]) << 8
                                | static_cast<std::uint32_t>(record[6]) << 16
                                | static_cast<std::uint32_t>(record[7]) << 24;
        driverVersion_ = (static_cast<std::uint32_t>(record[2]) << 24) + (static_cast<std::uint32_t>(record[3]) << 16)
                       + (low << 8);
    }
    version = *driverVersion_;
    return true;
}

std::uint32_t USBDevice::OSImpl::request(std::uint32_t code, std::span<const std::uint8_t> input,
                                         std::span<std::uint8_t> output, std::uint32_t* bytesReturned,
                                         std::uint32_t timeoutMs, const Basalt::Event* cancelEvent)
{
    if (!handle_) {
        return OsError::InvalidHandle;
    }
    return issueDriverRequest(*handle_, recordOfThisThread(), code, input, output, bytesReturned, timeoutMs,
                              cancelEvent);
}

DriverIoRecord& USBDevice::OSImpl::recordOfThisThread()
{
    const auto self = std::this_thread::get_id();
    {
        std::shared_lock guard(recordsLock_);
        if (const auto it = records_.find(self); it != records_.end()) {
            return *it->second;
        }
    }
    std::unique_lock guard(recordsLock_);
    auto& record = records_[self];
    if (!record) {
        record = std::make_unique<DriverIoRecord>();
    }
    return *record;
}

} // namespace Conduit2
