#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace UsbEmulation {

// usb-emulation-harness [--scenario=NAME] [--unplug-at-block=N] [--unopenable]
//                       [--plug-when=FILE] [--busy-ms=N] [--slow-image-b-ms=N]
//                       [--expect-flashed | --expect-image-a]
//                       -- COMMAND [ARGUMENT…] [--then COMMAND [ARGUMENT…]]…
struct HarnessOptions {
    enum eFlashCheck { NoCheck, BothImages, ImageAOnly };

    std::string scenario = "update-available";
    // The device drops off the bus when it is sent this DFU block.
    std::optional<std::uint16_t> unplugAtBlock;
    // The device node refuses to be opened, as without a udev rule.
    bool unopenable = false;
    // The device stays off the bus until this file exists, as a device a
    // user plugs in while the program runs.
    std::string plugWhen;
    // The device is busy this long after each DFU block (a slower write).
    std::optional<std::uint16_t> busyMs;
    // Each chunk of image B is acknowledged this late (a slower write).
    std::optional<std::uint16_t> slowImageBMs;
    eFlashCheck flashCheck = NoCheck;
    // Run one after the other against the same device.
    std::vector<std::vector<std::string>> commands;
};

// Nothing (and a message in `error`) for a malformed command line.
std::optional<HarnessOptions> parseHarnessOptions(const std::vector<std::string>& arguments, std::string& error);

} // namespace UsbEmulation
