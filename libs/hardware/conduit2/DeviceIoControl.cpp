#include "conduit2/DeviceIoControl.h"

#include "conduit2/HardwareLog.h"
#include "conduit2/OsErrors.h"

#include <basalt/Clock.h>

#include <chrono>

namespace Conduit2 {

std::uint32_t issueDriverRequest(DriverHandle& handle, DriverIoRecord& record, std::uint32_t code,
                                 std::span<const std::uint8_t> input, std::span<std::uint8_t> output,
                                 std::uint32_t* bytesReturned, std::uint32_t timeoutMs,
                                 const Basalt::Event* cancelEvent)
{
    const std::uint32_t timeout = timeoutMs == 0 ? DefaultRequestTimeoutMs : timeoutMs;
    record.event.reset();
    const std::uint32_t started = handle.ioControl(code, input, output, record);
    if (started == OsError::Success) {
        if (bytesReturned) {
            *bytesReturned = static_cast<std::uint32_t>(record.bytes);
        }
        return OsError::Success;
    }
    if (started == OsError::GeneralFailure && code == DriverRequest::Reserved) {
        return OsError::Success;
    }
    if (started != OsError::IoPending) {
        return started;
    }

    const auto wait = Basalt::clock().waitFor(record.event, cancelEvent, std::chrono::milliseconds(timeout));
    if (wait == Basalt::Clock::FirstSet) {
        if (bytesReturned) {
            *bytesReturned = static_cast<std::uint32_t>(record.bytes);
        }
        return record.status;
    }
    const std::uint32_t result = wait == Basalt::Clock::SecondSet ? OsError::Cancelled : OsError::Timeout;
    if (result == OsError::Timeout && shouldLog(1, "USBDevice")) {
        logMessage(1, "%s: deviceIoControl timed out after %d ms)\n", "USBDevice", static_cast<int>(timeout));
    }
    if (!handle.cancel(record) && shouldLog(1, "USBDevice")) {
        logMessage(1, "%s: CancelIo (deviceIoControl) failed (GetLastError() == %dL)\n", "USBDevice",
                   static_cast<int>(OsError::GeneralFailure));
    }
    return result;
}

std::uint32_t issueDriverRequest(DriverHandle& handle, std::uint32_t code, std::span<const std::uint8_t> input,
                                 std::span<std::uint8_t> output, std::uint32_t* bytesReturned)
{
    DriverIoRecord record;
    return issueDriverRequest(handle, record, code, input, output, bytesReturned, 0, nullptr);
}

} // namespace Conduit2
