#include "UpdaterOptions.h"

#include "UpdaterHelpText.h"

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
    return std::string(HelpText);
}
