#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace Conduit2 {

// The I/O-control requests of the maker's USB driver, and the byte layouts of
// their records. The device layer builds the records and the driver parses
// them back, on every transport.
namespace DriverRequest {
constexpr std::uint32_t Descriptor = 0x80892004;
constexpr std::uint32_t ControlTransfer = 0x80892014;
constexpr std::uint32_t DriverVersion = 0x80892804;
constexpr std::uint32_t Reserved = 0x80892040;  // a general failure counts as success
constexpr std::uint32_t DfuInfo = 0x80862400;
constexpr std::uint32_t DfuDetach = 0x80862404;
constexpr std::uint32_t DfuDownload = 0x80862408;
constexpr std::uint32_t DfuGetStatus = 0x80862410;
constexpr std::uint32_t DfuGetState = 0x80862418;
constexpr std::uint32_t DfuAbort = 0x8086241c;
constexpr std::uint32_t DfuLeave = 0x80862420;
// The HID interface's requests.
constexpr std::uint32_t HidAttributes = 0x000B01A8;
constexpr std::uint32_t HidManufacturerString = 0x000B01BA;
constexpr std::uint32_t HidProductString = 0x000B01BE;
constexpr std::uint32_t HidSerialNumberString = 0x000B01C2;
} // namespace DriverRequest

// The USB setup stage of a control transfer.
struct UsbSetup {
    std::uint8_t bmRequestType = 0;
    std::uint8_t bRequest = 0;
    std::uint16_t wValue = 0;
    std::uint16_t wIndex = 0;
    std::uint16_t wLength = 0;

    bool isDeviceToHost() const { return (bmRequestType & 0x80) != 0; }
    bool operator==(const UsbSetup&) const = default;
};

// Descriptor request, 8 bytes: 0-3 zero, 4 type, 5 index, 6-7 language id.
constexpr std::size_t DescriptorRequestSize = 8;
std::array<std::uint8_t, DescriptorRequestSize> buildDescriptorRequest(std::uint8_t type, std::uint8_t index,
                                                                       std::uint16_t language);
// The GET_DESCRIPTOR setup that answers a descriptor request of `outputLength`
// bytes; none when the record is malformed.
std::optional<UsbSetup> parseDescriptorRequest(std::span<const std::uint8_t> record, std::uint16_t outputLength);

// Control-transfer record, 16 bytes: 0 direction, 1-4 type, 5-8 recipient,
// 9 bRequest, 10-11 wValue, 12-13 wIndex, 14-15 wLength (little-endian).
constexpr std::size_t ControlRecordSize = 16;
std::array<std::uint8_t, ControlRecordSize> buildControlRecord(const UsbSetup& setup);
std::optional<UsbSetup> parseControlRecord(std::span<const std::uint8_t> record);

// DFU information record, 7 bytes: protocol, attributes, detach time-out,
// transfer size, and one unused byte.
struct DfuInfo {
    std::uint8_t bInterfaceProtocol = 0;
    std::uint8_t bmAttributes = 0;
    std::uint16_t wDetachTimeOut = 0;
    std::uint16_t wTransferSize = 0;
};
constexpr std::size_t DfuInfoSize = 7;
std::array<std::uint8_t, DfuInfoSize> buildDfuInfo(const DfuInfo& info);
DfuInfo parseDfuInfo(std::span<const std::uint8_t, DfuInfoSize> record);

// Download block, 8196 bytes: block number, length (0 to 8191), 8192 data bytes.
constexpr std::size_t DownloadBlockSize = 8196;
constexpr std::size_t DownloadBlockDataSize = 8192;
struct DownloadBlockView {
    std::uint16_t wBlockNum = 0;
    std::span<const std::uint8_t> data;
};
std::optional<DownloadBlockView> parseDownloadBlock(std::span<const std::uint8_t> record);

// Little-endian helpers shared by the records and the descriptor readers.
inline std::uint16_t readLe16(const std::uint8_t* bytes)
{
    return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
}
inline void writeLe16(std::uint8_t* bytes, std::uint16_t value)
{
    bytes[0] = static_cast<std::uint8_t>(value);
    bytes[1] = static_cast<std::uint8_t>(value >> 8);
}

} // namespace Conduit2
