#pragma once

#include "sim/ChunkedImage.h"
#include "sim/DfuEngine.h"
#include "sim/StandardRequests.h"
#include "sim/StudioConfig.h"
#include "sim/StudioState.h"
#include "sim/UsbDeviceModel.h"

#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

namespace Conduit2::Sim::DETAIL {

// Calls into the port and the clock, made after the device's lock is released
// because the port may call straight back into the device.
using Followups = std::vector<std::function<void()>>;

// The device behind TrovixStudioModel. It lives in a shared object so that
// actions still waiting in the clock find it gone instead of dangling.
class StudioDevice : public std::enable_shared_from_this<StudioDevice> {
public:
    explicit StudioDevice(StudioConfig config);

    // Takes over a saved state; before the device is attached to a port.
    void restore(const StudioState& state);
    StudioState state() const;

    void attach(DevicePort* port);
    ControlReply control(const SetupPacket& setup, std::span<const std::uint8_t> hostData);
    void busReset();
    void replug();
    void clearFaults();

    eStudioMode mode() const;
    eDfuState dfuState() const;
    std::vector<std::uint8_t> imageA() const;
    std::vector<std::uint8_t> imageB() const;
    std::string serialNumber() const;
    std::uint32_t faultsStruck() const;

private:
    void runLocked(const std::function<void(Followups&)>& body);
    ControlReply controlLocked(const SetupPacket& setup, std::span<const std::uint8_t> hostData, Followups& after);
    ControlReply classRequest(const SetupPacket& setup, std::span<const std::uint8_t> hostData, Followups& after);
    ControlReply vendorRequest(const SetupPacket& setup, std::span<const std::uint8_t> hostData);
    const Fault* faultStriking(const std::function<bool(const Fault&)>& reached);
    void strike(const Fault& fault, Followups& after);
    ControlReply stall(const SetupPacket& setup);
    void applyEffect(DfuEngine::eEffect effect, Followups& after);

    void clearFaultsLocked();
    void startRunTime(std::uint16_t release, std::uint16_t secondaryRevision);
    void startDfuMode();
    bool holdsExpectedFirmware() const;

    void leaveBus(Followups& after);
    void plug(Followups& after);
    void leaveAndReturn(Basalt::Clock::Duration delay, eStudioStep comeBack, Followups& after);
    void schedule(Basalt::Clock::Duration delay, eStudioStep step, Followups& after);
    void cancelStep();
    void runStep(std::uint64_t epoch, eStudioStep step);
    void takeStep(eStudioStep step, Followups& after);

    // Steps that run when their time has come.
    void dropForDfuMode(Followups& after);
    void enumerateInDfuMode(Followups& after);
    void detachTimedOut(Followups& after);
    void finishManifestation(Followups& after);
    void resetItself(Followups& after);
    void boot(Followups& after);

    mutable std::mutex lock_;
    StudioConfig config_;
    DevicePort* port_ = nullptr;
    eStudioMode mode_ = eStudioMode::Off;
    std::uint16_t release_;
    std::uint16_t secondaryRevision_;
    std::string serialNumber_;
    // Not in DFU mode since the start: the flash still holds the firmware the
    // device was found running.
    bool installedFirmwareIntact_;
    // How often each fault's point was reached, and how many faults struck.
    std::vector<std::uint32_t> faultPointsReached_;
    std::uint32_t faultsStruck_ = 0;
    // clearFaults() was called.
    bool faultsCleared_ = false;
    // A fault hung the device: it answers nothing until it is replugged.
    bool hung_ = false;
    // Only the step scheduled last, nextStep_, may run; leaving the bus cancels it.
    std::uint64_t epoch_ = 0;
    eStudioStep nextStep_ = eStudioStep::None;
    StandardRequests standard_;
    DfuEngine engine_;
    ChunkedImage imageB_;
};

} // namespace Conduit2::Sim::DETAIL
