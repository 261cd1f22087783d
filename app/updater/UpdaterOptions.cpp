#include "UpdaterOptions.h"

#include "UpdaterHelpText.h"

namespace {

constexpr std::string_view SimulatePrefix = "--simulate=";
constexpr std::string_view StateOption = "--simulate-state";
constexpr std::string_view StatePrefix = "--simulate-state=";

UpdaterOptions usageError(std::string error)
{
    UpdaterOptions options;
    options.action = UpdaterOptions::UsageError;
    options.error = std::move(error);
    return options;
}

} // namespace

UpdaterOptions parseUpdaterOptions(const std::vector<std::string_view>& arguments)
{
    UpdaterOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            options.action = UpdaterOptions::Help;
        } else if (argument == "--version") {
            options.action = UpdaterOptions::Version;
        } else if (argument == StateOption || argument.starts_with(StatePrefix)) {
            if (argument == StateOption) {
                options.simulationState = i + 1 < arguments.size() ? arguments[++i] : std::string_view{};
            } else {
                options.simulationState = argument.substr(StatePrefix.size());
            }
            if (options.simulationState.empty()) {
                return usageError("--simulate-state needs a file");
            }
        } else if (argument == "--simulate" || argument.starts_with(SimulatePrefix)) {
            const std::string_view name = argument == "--simulate" ? Conduit2::Sim::DefaultScenarioName
                                                                   : argument.substr(SimulatePrefix.size());
            options.simulated = Conduit2::Sim::findScenario(name);
            if (!options.simulated) {
                return usageError("unknown scenario: " + std::string(name));
            }
        }
    }
    if (!options.simulationState.empty() && !options.simulated && options.action == UpdaterOptions::Run) {
        return usageError("--simulate-state goes with --simulate only");
    }
    return options;
}

std::string updaterUsage()
{
    return std::string(HelpText);
}
