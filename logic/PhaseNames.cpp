#include "logic/PhaseNames.h"

#include <fmt/format.h>

PhaseNames phaseNames(eUpdatePhase phase, std::uint32_t written, std::uint32_t total, std::string_view deviceName)
{
    switch (phase) {
    case eUpdatePhase::RestartingIntoUpdateMode:
        return {fmt::format("Restarting your {} in firmware update mode", deviceName), "restarting-into-update-mode"};
    case eUpdatePhase::WritingImageB: return {"Writing image B", "writing-image-b", true};
    case eUpdatePhase::WritingImageA:
        if (written >= total) {
            return {"Manifesting the new firmware", "manifesting"};
        }
        return {"Writing image A", "writing-image-a", true};
    case eUpdatePhase::Restarting:
        return {fmt::format("Restarting your {} with the new firmware", deviceName), "restarting"};
    case eUpdatePhase::CheckingNewFirmware: break;
    }
    return {"Checking the new firmware", "checking-new-firmware"};
}
