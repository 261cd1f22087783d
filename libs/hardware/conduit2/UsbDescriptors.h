#pragma once

#include "conduit2/UsbBus.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace Conduit2 {

// Parsers of the standard USB descriptors as devices send them. Devices are
// not trusted: every length is checked against what arrived.

constexpr std::uint8_t DfuInterfaceClass = 0xFE;
constexpr std::uint8_t DfuInterfaceSubClass = 0x01;
constexpr std::uint8_t HidInterfaceClass = 0x03;

struct DeviceDescriptor {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t bcdDevice = 0;
    std::uint8_t iManufacturer = 0;
    std::uint8_t iProduct = 0;
    std::uint8_t iSerialNumber = 0;
};

// None unless at least 18 bytes arrived and the header says a device descriptor.
std::optional<DeviceDescriptor> parseDeviceDescriptor(std::span<const std::uint8_t> bytes);

// The interfaces (alternate setting 0) of a whole configuration descriptor,
// each with the class-specific descriptors that follow it. None when the
// header is wrong; a descriptor whose length overruns what arrived, or is
// below 2, ends the walk (what was complete before it is kept).
std::optional<std::vector<UsbInterfaceInfo>> parseConfiguration(std::span<const std::uint8_t> bytes);

// The DFU functional descriptor (type 0x21, at least 7 bytes) among an
// interface's class-specific descriptors.
struct DfuFunctionalDescriptor {
    std::uint8_t bmAttributes = 0;
    std::uint16_t wDetachTimeOut = 0;
    std::uint16_t wTransferSize = 0;
};
std::optional<DfuFunctionalDescriptor> findDfuFunctional(std::span<const std::uint8_t> extra);

// The first DFU interface of a device, if any.
const UsbInterfaceInfo* findDfuInterface(const UsbBusDevice& device);

// The text of a string descriptor received into a zeroed buffer: the UTF-16LE
// code units after the 2-byte header, up to the unit whose index (counted
// from the buffer's start) is bLength / 2 or an earlier zero unit, converted
// to UTF-8 with invalid sequences skipped.
std::string decodeStringDescriptor(std::span<const std::uint8_t> buffer);

// UTF-16 to UTF-8, invalid sequences skipped.
std::string utf16ToUtf8(std::u16string_view text);

} // namespace Conduit2
