#pragma once

#include "conduit2/DriverHandle.h"

#include <basalt/Event.h>

#include <cstdint>
#include <span>

namespace Conduit2 {

constexpr std::uint32_t DefaultRequestTimeoutMs = 500;

// Issues one driver request with the caller's I/O record and waits for it:
// at most `timeoutMs` (0 selects 500 ms), or until `cancelEvent` is set. On a
// time-out or a cancellation the request is cancelled before this returns.
// Returns 0 or an operating-system error code (Timeout, Cancelled, the
// driver's or the device's error); the byte count goes to `bytesReturned`.
std::uint32_t issueDriverRequest(DriverHandle& handle, DriverIoRecord& record, std::uint32_t code,
                                 std::span<const std::uint8_t> input, std::span<std::uint8_t> output,
                                 std::uint32_t* bytesReturned, std::uint32_t timeoutMs,
                                 const Basalt::Event* cancelEvent);

// The same with a record of its own, for requests made once (identity reads).
std::uint32_t issueDriverRequest(DriverHandle& handle, std::uint32_t code, std::span<const std::uint8_t> input,
                                 std::span<std::uint8_t> output, std::uint32_t* bytesReturned);

} // namespace Conduit2
