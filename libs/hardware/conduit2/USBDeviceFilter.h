#pragma once

#include <cstdint>
#include <string>

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

// One interface through which a product can be reached.
struct USBDeviceFilter {
    std::int32_t kind = GenericUSB;
    std::string interfaceGuid;  // registry form with braces, or a magic word
    std::string osClassName;    // the class name on another desktop platform; carried only
    std::uint16_t vendorId = 0; // 0 = any
    std::uint16_t productId = 0; // 0 = any
};

bool isMagicGuidWord(const std::string& text);

} // namespace Conduit2
