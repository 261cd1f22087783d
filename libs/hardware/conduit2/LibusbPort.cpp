#include "conduit2/LibusbPort.h"

#include "conduit2/OsErrors.h"

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <vector>

#include <libusb.h>

namespace Conduit2 {
namespace {

using namespace std::chrono_literals;

// How long cancel() waits for libusb to report the cancelled transfer.
constexpr auto CancelGrace = 2s;

// One reusable libusb control transfer. libusb wants the setup packet in
// front of the data stage, so the slot keeps its own buffer. The completion
// runs under the slot's lock and the slot turns idle in the same step, so
// that once cancel() has returned, or submit() has found the slot idle, no
// completion of an earlier transfer is running or still to come.
class LibusbTransfer final : public PortTransfer {
public:
    explicit LibusbTransfer(libusb_device_handle* handle) : handle_(handle), transfer_(libusb_alloc_transfer(0)) {}

    // libusb must not free a transfer still under way: give it up and wait
    // until libusb hands it back, which the kernel always does (with an
    // error when the device is gone).
    ~LibusbTransfer() override
    {
        std::unique_lock guard(lock_);
        if (inFlight_) {
            abandon();
            done_.wait(guard, [this] { return !inFlight_; });
        }
        guard.unlock();
        libusb_free_transfer(transfer_);
    }
    LibusbTransfer(const LibusbTransfer&) = delete;
    LibusbTransfer& operator=(const LibusbTransfer&) = delete;

    std::uint32_t submit(const UsbSetup& setup, std::uint8_t* data, Completion completion) override
    {
        if (!transfer_) {
            return OsError::OutOfMemory;
        }
        std::lock_guard guard(lock_);
        if (inFlight_) {
            return OsError::Busy;
        }
        buffer_.resize(LIBUSB_CONTROL_SETUP_SIZE + setup.wLength);
        libusb_fill_control_setup(buffer_.data(), setup.bmRequestType, setup.bRequest, setup.wValue, setup.wIndex,
                                  setup.wLength);
        if (!setup.isDeviceToHost() && setup.wLength != 0) {
            std::memcpy(buffer_.data() + LIBUSB_CONTROL_SETUP_SIZE, data, setup.wLength);
        }
        libusb_fill_control_transfer(transfer_, handle_, buffer_.data(), &LibusbTransfer::finished, this, 0);
        const int error = libusb_submit_transfer(transfer_);
        if (error != LIBUSB_SUCCESS) {
            return osErrorFromLibusbError(error);
        }
        inData_ = setup.isDeviceToHost() ? data : nullptr;
        completion_ = std::move(completion);
        inFlight_ = true;
        return OsError::Success;
    }

    // Even when libusb cannot cancel the transfer, its request is given up:
    // nothing of it is written from now on. The slot then stays busy until
    // libusb hands the transfer back.
    bool cancel() override
    {
        std::unique_lock guard(lock_);
        if (!inFlight_) {
            return true;
        }
        return abandon() && done_.wait_for(guard, CancelGrace, [this] { return !inFlight_; });
    }

private:
    static void LIBUSB_CALL finished(libusb_transfer* transfer)
    {
        static_cast<LibusbTransfer*>(transfer->user_data)->finish();
    }

    // Drops the completion and the caller's buffer, then asks libusb to end
    // the transfer; false when libusb cannot. Called under the lock.
    bool abandon()
    {
        completion_ = nullptr;
        inData_ = nullptr;
        const int error = libusb_cancel_transfer(transfer_);
        return error == LIBUSB_SUCCESS || error == LIBUSB_ERROR_NOT_FOUND;
    }

    // The completion wakes the requester, which may then submit again or
    // destroy the slot: both wait for the lock, so the slot is idle and
    // untouched by the time they get it.
    void finish()
    {
        std::lock_guard guard(lock_);
        if (completion_) {
            const auto bytes = static_cast<std::size_t>(transfer_->actual_length);
            const std::uint32_t status = osErrorFromLibusbTransferStatus(transfer_->status);
            if (inData_ && status == OsError::Success) {
                std::memcpy(inData_, buffer_.data() + LIBUSB_CONTROL_SETUP_SIZE, bytes);
            }
            completion_(status, bytes);
        }
        completion_ = nullptr;
        inData_ = nullptr;
        inFlight_ = false;
        done_.notify_all();
    }

    libusb_device_handle* handle_;
    libusb_transfer* transfer_;
    std::vector<std::uint8_t> buffer_;
    std::mutex lock_;
    std::condition_variable done_;
    std::uint8_t* inData_ = nullptr;
    Completion completion_;
    bool inFlight_ = false;
};

} // namespace

LibusbPort::LibusbPort(libusb_device_handle* handle) : handle_(handle)
{
}

// Closing the device releases its claimed interfaces.
LibusbPort::~LibusbPort()
{
    libusb_close(handle_);
}

std::unique_ptr<PortTransfer> LibusbPort::createTransfer()
{
    return std::make_unique<LibusbTransfer>(handle_);
}

// libusb answers a second claim of the same interface without a system call.
std::uint32_t LibusbPort::claimInterface(std::uint8_t interfaceNumber)
{
    return osErrorFromLibusbError(libusb_claim_interface(handle_, interfaceNumber));
}

// A device that re-enumerates with other descriptors after the reset (as one
// leaving or entering DFU mode does) is reported by libusb as not found or
// gone: for the caller the reset has done its work.
std::uint32_t LibusbPort::reset()
{
    const int error = libusb_reset_device(handle_);
    return error == LIBUSB_ERROR_NOT_FOUND || error == LIBUSB_ERROR_NO_DEVICE ? OsError::Success
                                                                               : osErrorFromLibusbError(error);
}

} // namespace Conduit2
