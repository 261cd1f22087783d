#include "logic/DeviceState.h"

#include <boost/format.hpp>

namespace {

struct tStateText {
    std::string_view name;
    const char* sentence;  // %1% is the device name
};

tStateText textOf(eDeviceState state)
{
    switch (state) {
    case eDeviceState::OldFirmware:
        return {"old-firmware", "Your %1% still runs its old firmware; nothing was written to it."};
    case eDeviceState::MaybeInUpdateMode:
        return {"update-mode-old-firmware",
                "Your %1% was asked to restart in firmware update mode and may be waiting there; nothing was "
                "written to it. Run 'tvs-updater-cli update' to update it."};
    case eDeviceState::UpdateModeIncomplete:
        return {"update-mode-incomplete-firmware",
                "Your %1% was left in firmware update mode with incomplete firmware. Run 'tvs-updater-cli update' "
                "to finish the update."};
    case eDeviceState::NewFirmwareRestarting:
        return {"new-firmware-restarting",
                "The new firmware was written to your %1%, which is restarting with it. Run 'tvs-updater-cli "
                "check' to see the firmware it runs."};
    case eDeviceState::NewFirmwareUnchecked:
        return {"new-firmware-unchecked",
                "The new firmware was written to your %1% and it restarted; its firmware was not checked. Run "
                "'tvs-updater-cli check' to see it."};
    case eDeviceState::NewFirmware:
        return {"new-firmware", "Your %1% runs the new firmware."};
    case eDeviceState::Unknown:
        break;
    }
    return {"unknown", "Your %1% did not come back with the new firmware. Run 'tvs-updater-cli list' to see it, "
                       "and 'tvs-updater-cli update' to try again."};
}

} // namespace

eDeviceState stateWhenEndedIn(eUpdatePhase phase)
{
    switch (phase) {
    case eUpdatePhase::RestartingIntoUpdateMode: return eDeviceState::MaybeInUpdateMode;
    case eUpdatePhase::WritingImageB:
    case eUpdatePhase::WritingImageA: return eDeviceState::UpdateModeIncomplete;
    case eUpdatePhase::Restarting: return eDeviceState::NewFirmwareRestarting;
    case eUpdatePhase::CheckingNewFirmware: return eDeviceState::NewFirmwareUnchecked;
    }
    return eDeviceState::Unknown;
}

std::string_view stateName(eDeviceState state)
{
    return textOf(state).name;
}

std::string stateSentence(const UpdaterDescription& description, eDeviceState state)
{
    return (boost::format(textOf(state).sentence) % description.deviceName).str();
}
