#include "cli/Usage.h"

#include "CliHelpText.h"

#include <fmt/format.h>

namespace Cli {

std::string usageText()
{
    return std::string(HelpText);
}

std::string versionText()
{
    return fmt::format("{} {}", ProgramName, TVS_CLI_FILE_VERSION);
}

std::string usageErrorText(std::string_view error)
{
    return fmt::format("{0}: {1}\nTry '{0} --help' for more information.\n", ProgramName, error);
}

} // namespace Cli
