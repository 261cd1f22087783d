#include "sim/SimulatedPort.h"

#include <conduit2/OsErrors.h>

#include <basalt/Clock.h>

#include <algorithm>
#include <cstring>
#include <mutex>

namespace Conduit2::Sim {
namespace {

// The state of one transfer slot, shared with delayed completions so that a
// completion that fires after a cancel (or after the slot is gone) does
// nothing. A completion runs under the lock and ends the pending transfer in
// the same step, so cancel() cannot return while it is still running.
struct SlotState {
    std::mutex lock;
    std::uint64_t current = 0;  // the submission a completion must belong to
    bool pending = false;
};

class SimulatedTransfer final : public PortTransfer {
public:
    SimulatedTransfer(std::shared_ptr<UsbDeviceModel> model, SimulatedPort::ConnectedTest connected)
        : model_(std::move(model)), connected_(std::move(connected))
    {
    }

    ~SimulatedTransfer() override { cancel(); }
    SimulatedTransfer(const SimulatedTransfer&) = delete;
    SimulatedTransfer& operator=(const SimulatedTransfer&) = delete;

    std::uint32_t submit(const UsbSetup& setup, std::uint8_t* data, Completion completion) override
    {
        if (!connected_()) {
            return OsError::DeviceNotConnected;
        }
        const bool in = setup.isDeviceToHost();
        const std::span<const std::uint8_t> hostData(data, in || !data ? 0 : setup.wLength);
        ControlReply reply =
            model_->control({setup.bmRequestType, setup.bRequest, setup.wValue, setup.wIndex, setup.wLength}, hostData);

        std::uint64_t submission = 0;
        {
            std::lock_guard guard(state_->lock);
            submission = ++state_->current;
            state_->pending = true;
        }
        if (reply.kind == ControlReply::NoAnswer) {
            return OsError::Success;
        }
        // An answer given at once completes even when the device leaves right
        // after it (as after DFU_DETACH); a later one only if it is still there.
        const bool late = reply.delay > Basalt::Clock::Duration::zero();
        auto finish = [state = state_, submission, setup, data, in, late, reply = std::move(reply),
                       connected = connected_, completion = std::move(completion)] {
            const bool gone = late && !connected();
            std::lock_guard guard(state->lock);
            if (!state->pending || state->current != submission) {
                return;
            }
            state->pending = false;
            if (gone) {
                completion(OsError::DeviceNotConnected, 0);
            } else if (reply.kind == ControlReply::Stall) {
                completion(OsError::GeneralFailure, 0);
            } else if (in) {
                const std::size_t n = std::min<std::size_t>(reply.data.size(), setup.wLength);
                std::copy_n(reply.data.begin(), n, data);
                completion(OsError::Success, n);
            } else {
                completion(OsError::Success, setup.wLength);
            }
        };
        if (late) {
            Basalt::clock().schedule(reply.delay, std::move(finish));
        } else {
            finish();
        }
        return OsError::Success;
    }

    bool cancel() override
    {
        std::lock_guard guard(state_->lock);
        state_->pending = false;
        return true;
    }

private:
    std::shared_ptr<UsbDeviceModel> model_;
    SimulatedPort::ConnectedTest connected_;
    std::shared_ptr<SlotState> state_ = std::make_shared<SlotState>();
};

} // namespace

SimulatedPort::SimulatedPort(std::shared_ptr<UsbDeviceModel> model, UsbBusDevice device, ConnectedTest connected)
    : model_(std::move(model)), device_(std::move(device)), connected_(std::move(connected))
{
}

std::unique_ptr<PortTransfer> SimulatedPort::createTransfer()
{
    return std::make_unique<SimulatedTransfer>(model_, connected_);
}

std::uint32_t SimulatedPort::claimInterface(std::uint8_t interfaceNumber)
{
    if (!connected_()) {
        return OsError::DeviceNotConnected;
    }
    const bool exists = std::ranges::any_of(device_.interfaces,
                                            [&](const UsbInterfaceInfo& i) { return i.number == interfaceNumber; });
    return exists ? OsError::Success : OsError::NotFound;
}

std::uint32_t SimulatedPort::reset()
{
    if (!connected_()) {
        return OsError::DeviceNotConnected;
    }
    model_->busReset();
    return OsError::Success;
}

} // namespace Conduit2::Sim
