#pragma once

#include "logic/UpdatePhase.h"
#include "logic/UpdaterDescription.h"

#include <string>
#include <string_view>

// What an update left on the device, as far as the program knows.
enum class eDeviceState {
    OldFirmware,            // nothing was written; the device runs its old firmware
    MaybeInUpdateMode,      // asked to restart in update mode, maybe waiting there; nothing was written
    UpdateModeIncomplete,   // in update mode, its firmware partly written
    NewFirmwareRestarting,  // both images written; restarting with them, not checked
    NewFirmwareUnchecked,   // written and restarted; the check of its firmware was not finished
    NewFirmware,            // written, and the device reports the newest firmware
    Unknown,                // the device did not come back as expected
};

// The state a device is left in when the program ends in `phase`.
eDeviceState stateWhenEndedIn(eUpdatePhase phase);

// A name for scripts, such as "update-mode-incomplete-firmware".
std::string_view stateName(eDeviceState state);

// The state in a sentence, with the command that finishes the job.
std::string stateSentence(const UpdaterDescription& description, eDeviceState state);
