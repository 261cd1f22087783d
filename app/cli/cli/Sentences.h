#pragma once

#include "cli/Console.h"
#include "cli/Outcome.h"

#include "logic/UpdaterDescription.h"

#include <cstdint>
#include <string>

namespace Cli {

// One of the updater's sentences with the device name, the result and the
// updater name of `description` filled in.
std::string sentence(const UpdaterDescription& description, const char* message, std::int32_t result = 0);

// The window's sentences that speak of its buttons, with what to run instead.
namespace TerminalMessages {
extern const char* const FailedToBoot;
extern const char* const Error;  // %2% is the error number with what the device reported
extern const char* const IfItFailsAgain;
} // namespace TerminalMessages

// One JSON object for a command that ends without its result: the sentence,
// the exit code and its meaning.
std::string jsonError(const std::string& sentence, eOutcome outcome);

// Reported when a scan finds no device.
std::string noDeviceSentence(const UpdaterDescription& description);

// Says on standard error why no device could be opened: none is attached,
// or one is (its device file `deniedNode`) that this user may not open; in
// JSON on standard output too.
eOutcome reportMissingDevice(const UpdaterDescription& description, const std::string& deniedNode,
                             Console& console);

} // namespace Cli
