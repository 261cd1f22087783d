#pragma once

#include "conduit2/DriverHandle.h"

#include <memory>
#include <mutex>

namespace Conduit2 {

// The driver handle that a device factory opened to accept a device, offered
// with the device to the arrival callback: the first USBDevice::open of the
// device during the callback takes it over instead of opening the device a
// second time. The factory closes it, unless taken, once the callback has
// returned, so that a device opened later is opened afresh.
class AcceptedHandle {
public:
    explicit AcceptedHandle(std::unique_ptr<DriverHandle> handle) : handle_(std::move(handle)) {}

    // The handle the first time; null after that.
    std::unique_ptr<DriverHandle> take()
    {
        std::lock_guard guard(lock_);
        return std::move(handle_);
    }

private:
    std::mutex lock_;
    std::unique_ptr<DriverHandle> handle_;
};

} // namespace Conduit2
