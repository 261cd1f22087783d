#pragma once

#include "conduit2/USBDeviceFilter.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace Conduit2 {

// One product (or one broad device class) of the maker, with the interfaces
// through which it is reached; the first interface is its main one. The
// traits and the HID layout are opaque data kept for other users of the table.
struct ProductEntry {
    std::vector<std::string_view> names;  // display name first, then aliases
    std::vector<const USBDeviceFilter*> interfaces;
    std::uint16_t productId = 0;          // run-time product id; 0 for class rows
    std::uint8_t traitA = 0;
    std::uint8_t traitB = 0;
    std::optional<std::string_view> hidLayout;
    struct tTraitsC {
        std::array<std::uint8_t, 4> bytes{};
        std::uint16_t word = 0;
    } traitsC;
    struct tTraitsD {
        std::uint16_t word1 = 0;
        std::uint8_t byte1 = 0;
        std::uint16_t word2 = 0;
        std::uint16_t word3 = 0;
        std::uint8_t byte2 = 0;
    } traitsD;
};

// The Trovix Studio's interfaces: the maker's driver, and HID.
extern const USBDeviceFilter targetUsbFilter;
extern const USBDeviceFilter targetHidFilter;

// The catalogue in table order: the four class rows, then the products.
std::span<const ProductEntry> deviceCatalogue();

// The interface of a product of this vendor: its main interface for kind 0,
// else its first of that kind. None for vendor 0 or product 0.
const USBDeviceFilter* findInterface(std::uint16_t vendorId, std::uint16_t productId, std::int32_t kind);

// The same without the vendor test.
const USBDeviceFilter* findInterfaceByProduct(std::uint16_t productId, std::int32_t kind);

} // namespace Conduit2
