#include "sim/StudioDevice.h"

// How the device leaves the bus, comes back and boots, and the steps it takes
// when their time has come.

namespace Conduit2::Sim::DETAIL {

// In run-time mode a reset only matters in appDETACH; in DFU mode it makes
// the device leave its boot loader, unless a fault strikes there. A hung
// device takes no reset.
void StudioDevice::busReset()
{
    runLocked([this](Followups& after) {
        if (hung_) {
            return;
        }
        if (mode_ == eStudioMode::Dfu) {
            const Fault* fault = faultStriking([](const Fault& candidate) {
                return candidate.point == eFaultPoint::LeavingDfuMode && candidate.kind != eFaultKind::Stall;
            });
            if (fault) {
                strike(*fault, after);
            } else {
                leaveAndReturn(config_.bootDelay, eStudioStep::Boot, after);
            }
        } else if (mode_ == eStudioMode::RunTime && engine_.state() == eDfuState::AppDetach) {
            leaveAndReturn(config_.reenumerationDelay, eStudioStep::EnumerateInDfuMode, after);
        }
    });
}

// Pulling the cable and putting it back: the device boots, whatever its faults.
void StudioDevice::replug()
{
    runLocked([this](Followups& after) {
        hung_ = false;
        if (mode_ != eStudioMode::Off) {
            leaveBus(after);
        }
        schedule(config_.bootDelay, eStudioStep::Boot, after);
    });
}

// From now on the device has none of the faults of its configuration; one
// that hung it still holds until replug().
void StudioDevice::clearFaults()
{
    std::lock_guard guard(lock_);
    clearFaultsLocked();
}

void StudioDevice::clearFaultsLocked()
{
    config_.ignoreDetach = false;
    config_.serialInDfuMode.clear();
    config_.neverReturns = false;
    config_.faults.clear();
    faultPointsReached_.clear();
    faultsCleared_ = true;
}

// An unplugged device stays off the bus; a hung one also drops the step it
// had scheduled.
void StudioDevice::strike(const Fault& fault, Followups& after)
{
    if (fault.kind == eFaultKind::Unplug) {
        leaveBus(after);
    } else if (fault.kind == eFaultKind::Hang) {
        hung_ = true;
        cancelStep();
    }
}

void StudioDevice::applyEffect(DfuEngine::eEffect effect, Followups& after)
{
    const bool willDetach = (config_.dfuAttributes & DfuWillDetach) != 0;
    const bool tolerant = (config_.dfuAttributes & DfuManifestationTolerant) != 0;
    switch (effect) {
    case DfuEngine::DetachRequested:
        if (willDetach) {
            schedule(config_.detachDropDelay, eStudioStep::DropForDfuMode, after);
        } else {
            schedule(std::chrono::milliseconds(config_.detachTimeOutMs), eStudioStep::DetachTimedOut, after);
        }
        break;
    case DfuEngine::ManifestationStarted:
        schedule(config_.manifestationTime, eStudioStep::FinishManifestation, after);
        break;
    case DfuEngine::WaitingForReset:
        if (willDetach && !tolerant) {
            schedule(config_.detachDropDelay, eStudioStep::ResetItself, after);
        }
        break;
    case DfuEngine::NoEffect:
        break;
    }
}

void StudioDevice::startRunTime(std::uint16_t release, std::uint16_t secondaryRevision)
{
    mode_ = eStudioMode::RunTime;
    release_ = release;
    secondaryRevision_ = secondaryRevision;
    serialNumber_ = config_.serialNumber;
    engine_.enterRunTime();
    standard_.reset(studioDescriptors({false, release_, config_.dfuAttributes, config_.detachTimeOutMs,
                                       config_.transferSize, serialNumber_}));
}

void StudioDevice::startDfuMode()
{
    mode_ = eStudioMode::Dfu;
    installedFirmwareIntact_ = false;
    serialNumber_ = config_.serialInDfuMode.empty() ? config_.serialNumber : config_.serialInDfuMode;
    engine_.enterDfuMode();
    standard_.reset(studioDescriptors({true, release_, config_.dfuAttributes, config_.detachTimeOutMs,
                                       config_.transferSize, serialNumber_}));
}

bool StudioDevice::holdsExpectedFirmware() const
{
    return !config_.expectedImageA.empty() && !config_.expectedImageB.empty() && engine_.imageComplete()
        && engine_.image() == config_.expectedImageA && imageB_.isComplete()
        && imageB_.bytes() == config_.expectedImageB;
}

void StudioDevice::leaveBus(Followups& after)
{
    mode_ = eStudioMode::Off;
    cancelStep();
    if (port_ != nullptr) {
        after.push_back([port = port_] { port->unplug(); });
    }
}

void StudioDevice::plug(Followups& after)
{
    if (port_ != nullptr) {
        after.push_back([port = port_] { port->plug(); });
    }
}

void StudioDevice::leaveAndReturn(Basalt::Clock::Duration delay, eStudioStep comeBack, Followups& after)
{
    leaveBus(after);
    if (!config_.neverReturns) {
        schedule(delay, comeBack, after);
    }
}

void StudioDevice::schedule(Basalt::Clock::Duration delay, eStudioStep step, Followups& after)
{
    const auto epoch = ++epoch_;
    nextStep_ = step;
    after.push_back([self = weak_from_this(), delay, epoch, step] {
        Basalt::clock().schedule(delay, [self, epoch, step] {
            if (const auto device = self.lock()) {
                device->runStep(epoch, step);
            }
        });
    });
}

void StudioDevice::cancelStep()
{
    ++epoch_;
    nextStep_ = eStudioStep::None;
}

void StudioDevice::runStep(std::uint64_t epoch, eStudioStep step)
{
    runLocked([&](Followups& after) {
        if (epoch == epoch_) {
            nextStep_ = eStudioStep::None;
            takeStep(step, after);
        }
    });
}

void StudioDevice::takeStep(eStudioStep step, Followups& after)
{
    switch (step) {
    case eStudioStep::None:
        break;
    case eStudioStep::DropForDfuMode:
        dropForDfuMode(after);
        break;
    case eStudioStep::EnumerateInDfuMode:
        enumerateInDfuMode(after);
        break;
    case eStudioStep::DetachTimedOut:
        detachTimedOut(after);
        break;
    case eStudioStep::FinishManifestation:
        finishManifestation(after);
        break;
    case eStudioStep::ResetItself:
        resetItself(after);
        break;
    case eStudioStep::Boot:
        boot(after);
        break;
    }
}

void StudioDevice::dropForDfuMode(Followups& after)
{
    leaveAndReturn(config_.reenumerationDelay, eStudioStep::EnumerateInDfuMode, after);
}

void StudioDevice::enumerateInDfuMode(Followups& after)
{
    startDfuMode();
    plug(after);
}

void StudioDevice::detachTimedOut(Followups&)
{
    engine_.detachTimedOut();
}

void StudioDevice::finishManifestation(Followups& after)
{
    applyEffect(engine_.finishManifestation(), after);
}

void StudioDevice::resetItself(Followups& after)
{
    leaveAndReturn(config_.bootDelay, eStudioStep::Boot, after);
}

// The boot loader starts the updated firmware when the flash holds it, or the
// firmware the device came with when it has not been in DFU mode since;
// otherwise it stays in DFU mode.
void StudioDevice::boot(Followups& after)
{
    if (holdsExpectedFirmware()) {
        startRunTime(config_.updatedRelease, config_.updatedSecondaryRevision);
    } else if (installedFirmwareIntact_) {
        startRunTime(release_, secondaryRevision_);
    } else {
        startDfuMode();
    }
    plug(after);
}

} // namespace Conduit2::Sim::DETAIL
