#include "UpdaterOptions.h"

namespace {

constexpr std::string_view SimulatePrefix = "--simulate=";

} // namespace

UpdaterOptions parseUpdaterOptions(const std::vector<std::string_view>& arguments)
{
    UpdaterOptions options;
    for (const std::string_view argument : arguments) {
        if (argument == "--help" || argument == "-h") {
            options.action = UpdaterOptions::Help;
        } else if (argument == "--version") {
            options.action = UpdaterOptions::Version;
        } else if (argument == "--simulate" || argument.starts_with(SimulatePrefix)) {
            const std::string_view name = argument == "--simulate" ? Conduit2::Sim::DefaultScenarioName
                                                                   : argument.substr(SimulatePrefix.size());
            options.simulated = Conduit2::Sim::findScenario(name);
            if (!options.simulated) {
                options.action = UpdaterOptions::UsageError;
                options.error = "unknown scenario: " + std::string(name);
                return options;
            }
        }
    }
    return options;
}

std::string updaterUsage()
{
    std::string text = "Usage: tvs-updater [--simulate[=SCENARIO]] [--help] [--version]\n\n"
                       "Updates the firmware of a Trovix Studio connected by USB.\n\n"
                       "  --simulate[=SCENARIO]  use a simulated Trovix Studio instead of USB\n"
                       "                         (default scenario: update-available)\n"
                       "  --help                 show this text\n"
                       "  --version              show the program's version\n\n"
                       "Scenarios:\n";
    for (const auto& scenario : Conduit2::Sim::allScenarios()) {
        text += "  " + std::string(scenario.name) + ": " + std::string(scenario.description) + "\n";
    }
    text += "\nExit status: 0 when the window was closed, 1 when no display could be reached,\n"
            "2 for a wrong option.\n";
    return text;
}
