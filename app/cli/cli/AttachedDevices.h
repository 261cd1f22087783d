#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace Cli {

// One Trovix Studio found on the bus.
struct AttachedDevice {
    std::string serial;
    bool updateMode = false;  // found in update (DFU) mode rather than running its firmware
    std::uint16_t release = 0;
    std::optional<std::uint16_t> secondaryRevision;  // absent when the device does not answer it
};

// Every device on the Trovix Studio's interface that answers as a DFU
// device, in enumeration order; nothing when the bus cannot be listed.
std::optional<std::vector<AttachedDevice>> scanAttachedDevices(std::string& deniedNode);

// "33 / 0x67", or the release alone when the secondary revision is absent.
std::string firmwareText(const AttachedDevice& device);
// The devices as a table with a header line: serial number, mode, firmware.
std::string deviceTable(std::span<const AttachedDevice> devices);

} // namespace Cli
