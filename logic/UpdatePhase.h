#pragma once

#include <cstdint>

// Where an update stands, from the reboot into update mode to the check of
// the new firmware. The worker sets the phases it runs; the caller sets the
// others around it.
enum class eUpdatePhase : std::uint8_t {
    RestartingIntoUpdateMode, // the device was asked to restart in update mode
    WritingImageB,
    WritingImageA,            // until the device has accepted every byte, then manifesting
    Restarting,               // both images are written; the device restarts into the new firmware
    CheckingNewFirmware,
};
