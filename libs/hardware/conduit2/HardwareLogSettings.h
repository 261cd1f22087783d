#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Conduit2 {

// The hardware log's configuration, read once at start from the environment
// variable TVS_HW_LOG:
//
//   TVS_HW_LOG=<threshold>[:<categories>[:<destination>]]
//
// <threshold> is a decimal number (0 to 7); <categories> a comma-separated
// list such as "USBDevice"; <destination> a file to append to, "-" for
// standard error, or "syslog" for the system log (the log's event source).
// For example TVS_HW_LOG=1:USBDevice:- writes the level-1 USB messages to
// standard error. Without the variable the log keeps its defaults.
struct HardwareLogSettings {
    enum eDestination { None, StandardError, File, Syslog };

    std::uint32_t threshold = 2;
    std::vector<std::string> categories;
    eDestination destination = None;
    std::string path;  // for File

    // The settings that a TVS_HW_LOG text asks for, or nothing when the text
    // is malformed.
    static std::optional<HardwareLogSettings> parse(std::string_view text);
};

// Applies the settings to the hardware log. False when the destination file
// cannot be opened; the rest is applied all the same.
bool applyHardwareLogSettings(const HardwareLogSettings& settings);

// Reads TVS_HW_LOG and applies it; a malformed value or a file that cannot be
// opened is reported on standard error and otherwise ignored.
void configureHardwareLogFromEnvironment();

} // namespace Conduit2
