#include "sim/StudioDevice.h"

// How the device is saved and taken up again by a later run.

namespace Conduit2::Sim::DETAIL {

StudioState StudioDevice::state() const
{
    std::lock_guard guard(lock_);
    return {mode_,
            nextStep_,
            release_,
            secondaryRevision_,
            installedFirmwareIntact_,
            hung_,
            faultsCleared_,
            faultPointsReached_,
            faultsStruck_,
            engine_.memory(),
            imageB_.memory()};
}

// The time between the two runs has passed: the step the device was about to
// take, and any it leads to, are taken at once. Nothing is on the bus or the
// clock yet, so what a step hands on to them is dropped.
void StudioDevice::restore(const StudioState& state)
{
    std::lock_guard guard(lock_);
    if (state.faultsCleared) {
        clearFaultsLocked();
    }
    release_ = state.release;
    secondaryRevision_ = state.secondaryRevision;
    if (state.mode == eStudioMode::RunTime) {
        startRunTime(release_, secondaryRevision_);
    } else if (state.mode == eStudioMode::Dfu) {
        startDfuMode();
    } else {
        mode_ = eStudioMode::Off;
    }
    installedFirmwareIntact_ = state.installedFirmwareIntact;
    hung_ = state.hung;
    faultPointsReached_ = state.faultPointsReached;
    faultPointsReached_.resize(config_.faults.size());
    faultsStruck_ = state.faultsStruck;
    engine_.restore(state.dfu);
    imageB_.restore(state.imageB);
    nextStep_ = state.nextStep;
    while (nextStep_ != eStudioStep::None) {
        const eStudioStep step = nextStep_;
        nextStep_ = eStudioStep::None;
        Followups dropped;
        takeStep(step, dropped);
    }
}

} // namespace Conduit2::Sim::DETAIL
