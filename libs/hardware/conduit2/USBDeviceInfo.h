#pragma once

#include <cstdint>
#include <memory>
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

class AcceptedHandle;

// Which attached device: its device-interface path, in lower case. Offered to
// a device factory's arrival callback, it also holds the driver handle that
// the factory opened to accept the device (see AcceptedHandle).
struct USBDeviceOSHandle {
    std::u16string devicePath;
    std::shared_ptr<AcceptedHandle> accepted = nullptr;
};

} // namespace Conduit2
