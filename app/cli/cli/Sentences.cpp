#include "cli/Sentences.h"

#include "logic/UpdaterMessages.h"

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
    if (!deniedNode.empty()) {
        console.err << UpdaterMessages::noPermission(description.deviceName, deniedNode) << '\n';
        return eOutcome::NoPermission;
    }
    console.err << noDeviceSentence(description) << '\n';
    return eOutcome::NoDevice;
}

} // namespace Cli
