#include "conduit2/DeviceCatalogue.h"

namespace Conduit2 {

const USBDeviceFilter targetUsbFilter{VendorDriver, "{369B4BDE-0BBC-415c-858B-EED47C55057F}",
                                      "IOUSBDevice", 0x17CC, 0x1300};
const USBDeviceFilter targetHidFilter{HID, HidGuidMagic, "IOHIDDevice", 0x17CC, 0x1300};

namespace {

const USBDeviceFilter allUsbFilter{GenericUSB, UsbGuidMagic, "IOUSBDevice", 0, 0};
const USBDeviceFilter allHidFilter{HID, HidGuidMagic, "IOHIDDevice", 0, 0};
const USBDeviceFilter makerUsbFilter{GenericUSB, UsbGuidMagic, "IOUSBDevice", 0x17CC, 0};
const USBDeviceFilter makerHidFilter{HID, HidGuidMagic, "IOHIDDevice", 0x17CC, 0};

constexpr ProductEntry::tTraitsC classTraitsC{{255, 0, 0, 0}, 0};
constexpr ProductEntry::tTraitsD classTraitsD{0, 255, 0, 0, 0};

ProductEntry classRow(std::string_view name, std::string_view alias, const USBDeviceFilter& filter)
{
    return {{name, alias}, {&filter}, 0, 0, 0, std::nullopt, classTraitsC, classTraitsD};
}

// Never destroyed: threads still running at exit may look products up.
const std::vector<ProductEntry>& table()
{
    static const auto* const rows = new std::vector<ProductEntry>{
        classRow("USB Devices", "USB", allUsbFilter),
        classRow("HID Devices", "HID", allHidFilter),
        classRow("VX USB Devices", "VXUSB", makerUsbFilter),
        classRow("VX HID Devices", "VXHID", makerHidFilter),
        {{"Trovix Studio", "tvs", "Studio"},
         {&targetUsbFilter, &targetHidFilter},
         0x1300,
         127,
         22,
         "I-1 b60 n4 W9 I-20 N20 O-80 B3E O-81 B2C O-82 B34 O-83 B37 F-F0 B9 F-F2 B6 F-F3 B20 "
         "F-F4 B20 F-F5 B20 F-F8 W2 B6 F-F9 W2 B6 F-FA B100 F-D0 D1 B6 W1 B14 F-D1 B20 F-D2 B20 "
         "F-D3 B20 F-D4 B20 F-D5 B20 F-D8 D4 BC D1 F-D9 B20 F-DA W10 F-DB W10",
         {{255, 0, 0, 0}, 0},
         {0x0202, 0x60, 480, 272, 3}},
    };
    return *rows;
}

// The first filter of a row for a kind (0 = its main interface), or none.
const USBDeviceFilter* interfaceOfKind(const ProductEntry& row, std::int32_t kind)
{
    if (kind == 0) {
        return row.interfaces.front();
    }
    for (const USBDeviceFilter* filter : row.interfaces) {
        if (filter->kind == kind) {
            return filter;
        }
    }
    return nullptr;
}

template <typename RowTest>
const USBDeviceFilter* findFirst(std::uint16_t productId, std::int32_t kind, RowTest rowTest)
{
    if (productId == 0) {
        return nullptr;
    }
    for (const ProductEntry& row : table()) {
        if (row.productId != productId || !rowTest(row)) {
            continue;
        }
        if (const USBDeviceFilter* filter = interfaceOfKind(row, kind)) {
            return filter;
        }
    }
    return nullptr;
}

} // namespace

bool isMagicGuidWord(std::string_view text)
{
    for (const char* word : {UsbGuidMagic, HidGuidMagic, VxDfuGuidMagic, VxBdGuidMagic, VxIapGuidMagic}) {
        if (text == word) {
            return true;
        }
    }
    return false;
}

std::span<const ProductEntry> deviceCatalogue()
{
    return table();
}

const USBDeviceFilter* findInterface(std::uint16_t vendorId, std::uint16_t productId, std::int32_t kind)
{
    if (vendorId == 0) {
        return nullptr;
    }
    return findFirst(productId, kind, [vendorId](const ProductEntry& row) {
        return row.interfaces.front()->vendorId == vendorId;
    });
}

const USBDeviceFilter* findInterfaceByProduct(std::uint16_t productId, std::int32_t kind)
{
    return findFirst(productId, kind, [](const ProductEntry&) { return true; });
}

} // namespace Conduit2
