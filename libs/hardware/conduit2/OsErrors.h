#pragma once

#include <cstdint>

namespace Conduit2 {

// Operating-system error codes, with the values the device layer has always
// reported, so that logs and callers read the same on every platform.
namespace OsError {
constexpr std::uint32_t Success = 0;
constexpr std::uint32_t InvalidFunction = 1;
constexpr std::uint32_t NotFound = 2;
constexpr std::uint32_t InvalidHandle = 6;
constexpr std::uint32_t AccessDenied = 5;
constexpr std::uint32_t OutOfMemory = 14;
constexpr std::uint32_t GeneralFailure = 31;  // also: the device stalled the request
constexpr std::uint32_t InvalidParameter = 87;
constexpr std::uint32_t Busy = 170;
constexpr std::uint32_t Timeout = 258;
constexpr std::uint32_t IoPending = 997;
constexpr std::uint32_t IoError = 1117;
constexpr std::uint32_t DeviceNotConnected = 1167;
constexpr std::uint32_t Cancelled = 1223;
constexpr std::uint32_t WaitFailed = 0xFFFFFFFF;
} // namespace OsError

// The one table from libusb's error codes (LIBUSB_ERROR_*) and transfer
// statuses (LIBUSB_TRANSFER_*) to the codes above.
std::uint32_t osErrorFromLibusbError(int error);
std::uint32_t osErrorFromLibusbTransferStatus(int status);

} // namespace Conduit2
