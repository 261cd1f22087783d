#pragma once

#include <basalt/DeviceNotificationListener.h>

#include <optional>
#include <string>
#include <string_view>

namespace Conduit2 {

// Interface classes the magic words of a filter stand for.
extern const Basalt::Guid UsbDeviceInterfaceGuid;  // every USB device
extern const Basalt::Guid HidInterfaceGuid;        // devices with a HID interface
extern const Basalt::Guid VxDfuInterfaceGuid;      // the maker's devices with a DFU interface
extern const Basalt::Guid VxIapInterfaceGuid;
extern const Basalt::Guid VxBdInterfaceGuid;

// Parses the registry form "{8-4-4-4-12}" (hexadecimal digits in either
// case) into the GUID's bytes as they lie in memory (the first three groups
// little-endian).
std::optional<Basalt::Guid> parseGuid(std::u16string_view text);

// The registry form in lower case, with braces.
std::string formatGuid(const Basalt::Guid& guid);

} // namespace Conduit2
