#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace UsbEmulation {

// usb-emulation-harness [--scenario=NAME] [--unplug-at-block=N] [--expect-flashed | --expect-image-a]
//                       -- COMMAND [ARGUMENT…]
struct HarnessOptions {
    enum eFlashCheck { NoCheck, BothImages, ImageAOnly };

    std::string scenario = "update-available";
    // The device drops off the bus when it is sent this DFU block.
    std::optional<std::uint16_t> unplugAtBlock;
    eFlashCheck flashCheck = NoCheck;
    std::vector<std::string> command;
};

// Nothing (and a message in `error`) for a malformed command line.
std::optional<HarnessOptions> parseHarnessOptions(const std::vector<std::string>& arguments, std::string& error);

} // namespace UsbEmulation
