#pragma once

#include "sim/ChunkedImage.h"
#include "sim/DfuEngine.h"
#include "sim/StudioConfig.h"

#include <cstdint>
#include <vector>

namespace Conduit2::Sim {

// A step the device takes on its own once its time has come: leaving the bus
// for DFU mode, coming back in it, giving up waiting for the reset after a
// detach, ending manifestation, resetting itself, booting.
enum class eStudioStep {
    None,
    DropForDfuMode,
    EnumerateInDfuMode,
    DetachTimedOut,
    FinishManifestation,
    ResetItself,
    Boot,
};

// What a simulated Trovix Studio holds beyond its configuration: its mode,
// its firmware, its flash, how far its faults have got. A device restored
// from it behaves as the same device would at a later time.
struct StudioState {
    eStudioMode mode = eStudioMode::RunTime;
    // The step the device was about to take; a restored device takes it at once.
    eStudioStep nextStep = eStudioStep::None;
    // The firmware the run-time firmware reports.
    std::uint16_t release = 0;
    std::uint16_t secondaryRevision = 0;
    // Not in DFU mode since the start: the flash still holds that firmware.
    bool installedFirmwareIntact = true;
    bool hung = false;
    // clearFaults() was called: the configuration's faults are gone.
    bool faultsCleared = false;
    // How often each fault's point was reached (one count for each fault of
    // the configuration, none once they are cleared), and how many struck.
    std::vector<std::uint32_t> faultPointsReached;
    std::uint32_t faultsStruck = 0;
    // The DFU state machine with image A, and image B.
    DfuEngine::tMemory dfu;
    ChunkedImage::Memory imageB;

    bool operator==(const StudioState&) const = default;
};

} // namespace Conduit2::Sim
