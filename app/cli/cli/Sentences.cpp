#include "cli/Sentences.h"

#include "logic/UpdaterMessages.h"

#include <fmt/format.h>

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

} // namespace Cli
