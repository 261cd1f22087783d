#pragma once

#include "conduit2/DriverHandle.h"
#include "conduit2/USBDeviceFilter.h"
#include "conduit2/USBDeviceInfo.h"

#include <basalt/DeviceNotificationListener.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace Conduit2 {

// The interface class a filter names: a magic word's class, or its GUID text
// parsed (false when it does not parse).
bool resolveInterfaceGuid(const USBDeviceFilter& filter, Basalt::Guid& guid);

// Reads a device's identity the way the filter's kind prescribes: the
// driver's descriptor request, HID attributes, or, for generic USB devices
// whose driver does not answer, the ids in the path (then true only when no
// strings were asked for).
bool readIdentity(std::u16string_view path, const USBDeviceFilter& filter, USBDeviceInfo& info, bool withStrings);

// Ids from the "#vid_", "&pid_" and "&rev_" fields of a lower-case path;
// a field without four characters after it gives 0. Always true.
bool parseDevicePath(std::u16string_view path, USBDeviceInfo& info);

// The device descriptor through the driver (and, with strings, product,
// manufacturer and serial number, in that order); false for no handle, a
// failed request or fewer than 18 bytes.
bool readDeviceDescriptor(DriverHandle* handle, USBDeviceInfo& info, bool withStrings);

// A string descriptor (language 0) through the driver; false for a failed
// request or fewer than 4 bytes.
bool readStringDescriptor(DriverHandle* handle, std::uint8_t index, std::string& text);

// Ids and strings through the HID interface.
bool readHidIdentity(DriverHandle* handle, USBDeviceInfo& info, bool withStrings);

} // namespace Conduit2
