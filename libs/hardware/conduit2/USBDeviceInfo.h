#pragma once

#include <cstdint>
#include <string>

namespace Conduit2 {

// The identity of an attached device.
struct USBDeviceInfo {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t bcdDevice = 0;   // the release number
    std::string manufacturer;      // UTF-8; empty when not read or absent
    std::string product;
    std::string serialNumber;

    bool operator==(const USBDeviceInfo&) const = default;
};

// Which attached device: its device-interface path, in lower case.
struct USBDeviceOSHandle {
    std::u16string devicePath;
};

} // namespace Conduit2
