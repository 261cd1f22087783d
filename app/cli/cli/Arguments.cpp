#include "cli/Arguments.h"

#include <fmt/format.h>

#include <optional>

namespace Cli {
namespace {

constexpr std::string_view SimulatePrefix = "--simulate=";
constexpr std::string_view StateOption = "--simulate-state";
constexpr std::string_view StatePrefix = "--simulate-state=";

std::optional<eCommand> commandNamed(std::string_view name)
{
    if (name == "list") {
        return eCommand::List;
    }
    if (name == "check") {
        return eCommand::Check;
    }
    if (name == "update") {
        return eCommand::Update;
    }
    return std::nullopt;
}

std::string scenarioNames()
{
    std::string names;
    for (const auto& scenario : Conduit2::Sim::allScenarios()) {
        names += names.empty() ? "" : ", ";
        names += scenario.name;
    }
    return names;
}

ParsedArguments usageError(std::string error)
{
    return {ParsedArguments::UsageError, {}, std::move(error)};
}

// Applies one option (an argument starting with '-'); an error text when it is not one.
std::optional<std::string> applyOption(std::string_view argument, Options& options)
{
    if (argument == "--json") {
        options.json = true;
    } else if (argument == "--yes" || argument == "-y") {
        options.yes = true;
    } else if (argument == "--simulate") {
        options.simulated = Conduit2::Sim::findScenario(Conduit2::Sim::DefaultScenarioName);
    } else if (argument.starts_with(StatePrefix)) {
        options.simulationState = argument.substr(StatePrefix.size());
        if (options.simulationState.empty()) {
            return "--simulate-state needs a file";
        }
    } else if (argument.starts_with(SimulatePrefix)) {
        const std::string_view name = argument.substr(SimulatePrefix.size());
        options.simulated = Conduit2::Sim::findScenario(name);
        if (!options.simulated) {
            return fmt::format("unknown scenario '{}' (scenarios: {})", name, scenarioNames());
        }
    } else {
        return fmt::format("unknown option '{}'", argument);
    }
    return std::nullopt;
}

// The options that belong to one command only.
std::optional<std::string> checkCombination(const Options& options)
{
    if (options.json && options.command == eCommand::List) {
        return "--json goes with the commands check and update only";
    }
    if (options.yes && options.command != eCommand::Update) {
        return "--yes goes with the command update only";
    }
    if (!options.simulationState.empty() && !options.simulated) {
        return "--simulate-state goes with --simulate only";
    }
    return std::nullopt;
}

} // namespace

ParsedArguments parseArguments(std::span<const std::string_view> arguments)
{
    ParsedArguments parsed{ParsedArguments::Run, {}, {}};
    bool haveCommand = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            return {ParsedArguments::Help, {}, {}};
        }
        if (argument == "--version") {
            return {ParsedArguments::Version, {}, {}};
        }
        if (argument == StateOption) {
            if (i + 1 == arguments.size() || arguments[i + 1].empty()) {
                return usageError("--simulate-state needs a file");
            }
            parsed.options.simulationState = arguments[++i];
            continue;
        }
        if (argument.starts_with('-')) {
            if (auto error = applyOption(argument, parsed.options)) {
                return usageError(std::move(*error));
            }
            continue;
        }
        if (haveCommand) {
            return usageError(fmt::format("unexpected argument '{}'", argument));
        }
        const auto command = commandNamed(argument);
        if (!command) {
            return usageError(fmt::format("unknown command '{}'", argument));
        }
        parsed.options.command = *command;
        haveCommand = true;
    }
    if (!haveCommand) {
        return usageError("no command given");
    }
    if (auto error = checkCombination(parsed.options)) {
        return usageError(std::move(*error));
    }
    return parsed;
}

} // namespace Cli
