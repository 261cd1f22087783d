#pragma once

#include <cstdint>
#include <string_view>

namespace Conduit2 {

// How a device interface is reached (values are stored in the catalogue).
enum eInterfaceKind : std::int32_t {
    GenericUSB = 0,
    AudioDriver = 1,
    HID = 2,
    VendorDriver = 3,
};

// Texts that may stand in USBDeviceFilter::interfaceGuid instead of a GUID.
inline constexpr const char* UsbGuidMagic = "usb-guid-magic";
inline constexpr const char* HidGuidMagic = "hid-guid-magic";
inline constexpr const char* VxDfuGuidMagic = "vxdfu-guid-magic";
inline constexpr const char* VxBdGuidMagic = "vxbd-guid-magic";
inline constexpr const char* VxIapGuidMagic = "vxiap-guid-magic";

// One interface through which a product can be reached. The texts are the
// catalogue's constants, which live for the whole run (and past it, for a
// thread still running at exit), so a filter holds views of them.
struct USBDeviceFilter {
    std::int32_t kind = GenericUSB;
    std::string_view interfaceGuid;  // registry form with braces, or a magic word
    std::string_view osClassName;    // the class name on another desktop platform; carried only
    std::uint16_t vendorId = 0; // 0 = any
    std::uint16_t productId = 0; // 0 = any
};

bool isMagicGuidWord(std::string_view text);

} // namespace Conduit2
