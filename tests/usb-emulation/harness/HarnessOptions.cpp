#include "HarnessOptions.h"

#include <charconv>

namespace UsbEmulation {

namespace {

std::optional<std::uint16_t> parseBlock(const std::string& text)
{
    std::uint16_t block = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), block);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return block;
}

} // namespace

std::optional<HarnessOptions> parseHarnessOptions(const std::vector<std::string>& arguments, std::string& error)
{
    HarnessOptions options;
    const std::string scenarioPrefix = "--scenario=";
    const std::string unplugPrefix = "--unplug-at-block=";
    auto argument = arguments.begin();
    for (; argument != arguments.end() && *argument != "--"; ++argument) {
        if (argument->starts_with(scenarioPrefix)) {
            options.scenario = argument->substr(scenarioPrefix.size());
        } else if (argument->starts_with(unplugPrefix)) {
            const auto block = parseBlock(argument->substr(unplugPrefix.size()));
            if (!block) {
                error = "not a block number: '" + *argument + "'";
                return std::nullopt;
            }
            options.unplugAtBlock = block;
        } else if (*argument == "--expect-flashed") {
            options.flashCheck = HarnessOptions::BothImages;
        } else if (*argument == "--expect-image-a") {
            options.flashCheck = HarnessOptions::ImageAOnly;
        } else {
            error = "unknown option '" + *argument + "'";
            return std::nullopt;
        }
    }
    if (argument == arguments.end() || argument + 1 == arguments.end()) {
        error = "no command given after --";
        return std::nullopt;
    }
    options.command.assign(argument + 1, arguments.end());
    return options;
}

} // namespace UsbEmulation
