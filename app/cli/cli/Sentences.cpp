#include "cli/Sentences.h"

#include "logic/UpdaterMessages.h"

#include <basalt/JsonText.h>
#include <fmt/format.h>

#include <ostream>

namespace Cli {

std::string sentence(const UpdaterDescription& description, const char* message, std::int32_t result)
{
    return UpdaterMessages::format(message, description.deviceName, result, description.updaterName);
}

std::string noDeviceSentence(const UpdaterDescription& description)
{
    return fmt::format("No {} was found. Please connect your {} to USB.", description.deviceName,
                       description.deviceName);
}

eOutcome reportMissingDevice(const UpdaterDescription& description, const std::string& deniedNode,
                             Console& console)
{
    const eOutcome outcome = deniedNode.empty() ? eOutcome::NoDevice : eOutcome::NoPermission;
    const std::string said = deniedNode.empty() ? noDeviceSentence(description)
                                                : UpdaterMessages::noPermission(description.deviceName, deniedNode);
    console.err << said << '\n';
    if (console.json) {
        console.out << jsonError(said, outcome) << '\n';
    }
    return outcome;
}

std::string jsonError(const std::string& sentence, eOutcome outcome)
{
    return fmt::format(R"({{"error":{},"exitCode":{},"meaning":{}}})", Basalt::jsonString(sentence), exitCode(outcome),
                       Basalt::jsonString(exitMeaning(outcome)));
}

namespace TerminalMessages {
const char* const FailedToBoot = "Your %1% failed to boot into firmware update mode and could not be properly "
                                 "updated. To boot your %1% into firmware update mode, please power-cycle it and run "
                                 "'tvs-updater-cli update' again.";
const char* const Error = "An error occurred while updating your %1% (error %2%).";
const char* const IfItFailsAgain = "If the update fails again, disconnect the %1%, unpower it and reconnect it "
                                   "before you try again; alternatively contact the VX Technical Support.";
} // namespace TerminalMessages

} // namespace Cli
