#include "cli/Usage.h"

#include <sim/SimScenarios.h>

#include <fmt/format.h>

namespace Cli {
namespace {

constexpr std::string_view Synopsis = R"(Usage: tvs-updater-cli [--simulate[=SCENARIO]] COMMAND [OPTIONS]

Updates the firmware of a Trovix Studio attached over USB.

Commands:
  list                   every attached Trovix Studio: serial number, mode, firmware
  check                  the installed and the newest firmware, and whether an update is available
  update                 updates the firmware when a newer one is available

Options:
  --json                 check: print one JSON object (serial, installed, newest, updateAvailable)
  -y, --yes              update: do not ask before updating
  --simulate[=SCENARIO]  use a simulated Trovix Studio instead of USB (default: update-available)
  -h, --help             show this help and exit
  --version              show the version and exit

Scenarios of --simulate:
)";

constexpr std::string_view ExitCodes = R"(
Exit codes:
  0  success, or the firmware is up to date
  1  the update failed or was stopped
  2  usage error
  3  no Trovix Studio found
)";

} // namespace

std::string usageText()
{
    std::string text(Synopsis);
    for (const auto& scenario : Conduit2::Sim::allScenarios()) {
        text += fmt::format("  {:<21}  {}\n", scenario.name, scenario.description);
    }
    return text + std::string(ExitCodes);
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
