#pragma once

#include <cstdint>
#include <string>

// The updater's sentences, as the wizard shows them. "%1%" is the device
// name, "%2%" the update result, "%3%" the updater's name.
namespace UpdaterMessages {
extern const char* const Connect;
extern const char* const NoNewerFirmware;
extern const char* const UpdateAvailable;
extern const char* const StandBy;
extern const char* const FailedToBoot;
extern const char* const Success;
extern const char* const Error;
// The question asked before quitting during an update.
extern const char* const QuitDuringUpdate;

// Said when a device was found that this user may not open: its device
// file, and the udev rule that gives access.
std::string noPermission(const std::string& deviceName, const std::string& node);

// Fills the placeholders of a sentence.
std::string format(const char* message, const std::string& deviceName, std::int32_t result,
                   const std::string& updaterName);
} // namespace UpdaterMessages
