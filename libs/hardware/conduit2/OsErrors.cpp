#include "conduit2/OsErrors.h"

#include <libusb.h>

namespace Conduit2 {

std::uint32_t osErrorFromLibusbError(int error)
{
    switch (error) {
    case LIBUSB_SUCCESS: return OsError::Success;
    case LIBUSB_ERROR_IO: return OsError::IoError;
    case LIBUSB_ERROR_INVALID_PARAM: return OsError::InvalidParameter;
    case LIBUSB_ERROR_ACCESS: return OsError::AccessDenied;
    case LIBUSB_ERROR_NO_DEVICE: return OsError::DeviceNotConnected;
    case LIBUSB_ERROR_NOT_FOUND: return OsError::NotFound;
    case LIBUSB_ERROR_BUSY: return OsError::Busy;
    case LIBUSB_ERROR_TIMEOUT: return OsError::Timeout;
    case LIBUSB_ERROR_PIPE: return OsError::GeneralFailure;
    case LIBUSB_ERROR_INTERRUPTED: return OsError::Cancelled;
    case LIBUSB_ERROR_NO_MEM: return OsError::OutOfMemory;
    case LIBUSB_ERROR_NOT_SUPPORTED: return OsError::InvalidFunction;
    default: return OsError::GeneralFailure;
    }
}

std::uint32_t osErrorFromLibusbTransferStatus(int status)
{
    switch (status) {
    case LIBUSB_TRANSFER_COMPLETED: return OsError::Success;
    case LIBUSB_TRANSFER_STALL: return OsError::GeneralFailure;
    case LIBUSB_TRANSFER_TIMED_OUT: return OsError::Timeout;
    case LIBUSB_TRANSFER_CANCELLED: return OsError::Cancelled;
    case LIBUSB_TRANSFER_NO_DEVICE: return OsError::DeviceNotConnected;
    case LIBUSB_TRANSFER_OVERFLOW: return OsError::IoError;
    default: return OsError::GeneralFailure;
    }
}

} // namespace Conduit2
