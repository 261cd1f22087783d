#include "HarnessOptions.h"

#include <algorithm>
#include <charconv>

namespace UsbEmulation {

namespace {

std::optional<std::uint16_t> parseNumber(const std::string& text)
{
    std::uint16_t block = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), block);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return block;
}

// The words after "--", split at each "--then"; nothing when a command is empty.
std::optional<std::vector<std::vector<std::string>>> splitCommands(std::vector<std::string>::const_iterator first,
                                                                   std::vector<std::string>::const_iterator last)
{
    std::vector<std::vector<std::string>> commands(1);
    for (; first != last; ++first) {
        if (*first == "--then") {
            commands.emplace_back();
        } else {
            commands.back().push_back(*first);
        }
    }
    const bool anyEmpty = std::ranges::any_of(commands, [](const auto& command) { return command.empty(); });
    return anyEmpty ? std::nullopt : std::optional(std::move(commands));
}

} // namespace

std::optional<HarnessOptions> parseHarnessOptions(const std::vector<std::string>& arguments, std::string& error)
{
    HarnessOptions options;
    const std::string scenarioPrefix = "--scenario=";
    const std::string unplugPrefix = "--unplug-at-block=";
    const std::string plugWhenPrefix = "--plug-when=";
    const std::string busyPrefix = "--busy-ms=";
    const std::string slowImageBPrefix = "--slow-image-b-ms=";
    auto argument = arguments.begin();
    for (; argument != arguments.end() && *argument != "--"; ++argument) {
        if (argument->starts_with(scenarioPrefix)) {
            options.scenario = argument->substr(scenarioPrefix.size());
        } else if (argument->starts_with(unplugPrefix)) {
            const auto block = parseNumber(argument->substr(unplugPrefix.size()));
            if (!block) {
                error = "not a block number: '" + *argument + "'";
                return std::nullopt;
            }
            options.unplugAtBlock = block;
        } else if (argument->starts_with(plugWhenPrefix) && argument->size() > plugWhenPrefix.size()) {
            options.plugWhen = argument->substr(plugWhenPrefix.size());
        } else if (argument->starts_with(busyPrefix)) {
            options.busyMs = parseNumber(argument->substr(busyPrefix.size()));
            if (!options.busyMs) {
                error = "not a number of milliseconds: '" + *argument + "'";
                return std::nullopt;
            }
        } else if (argument->starts_with(slowImageBPrefix)) {
            options.slowImageBMs = parseNumber(argument->substr(slowImageBPrefix.size()));
            if (!options.slowImageBMs) {
                error = "not a number of milliseconds: '" + *argument + "'";
                return std::nullopt;
            }
        } else if (*argument == "--unopenable") {
            options.unopenable = true;
        } else if (*argument == "--expect-flashed") {
            options.flashCheck = HarnessOptions::BothImages;
        } else if (*argument == "--expect-image-a") {
            options.flashCheck = HarnessOptions::ImageAOnly;
        } else {
            error = "unknown option '" + *argument + "'";
            return std::nullopt;
        }
    }
    auto commands = argument == arguments.end() ? std::nullopt : splitCommands(argument + 1, arguments.end());
    if (!commands) {
        error = "a command is missing after -- or --then";
        return std::nullopt;
    }
    options.commands = std::move(*commands);
    return options;
}

} // namespace UsbEmulation
