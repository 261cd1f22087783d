#include "conduit2/DriverRecords.h"

namespace Conduit2 {
namespace {

void writeLe32(std::uint8_t* bytes, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

std::uint32_t readLe32(const std::uint8_t* bytes)
{
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8
         | static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

} // namespace

std::array<std::uint8_t, DescriptorRequestSize> buildDescriptorRequest(std::uint8_t type, std::uint8_t index,
                                                                       std::uint16_t language)
{
    std::array<std::uint8_t, DescriptorRequestSize> record{};
    record[4] = type;
    record[5] = index;
    writeLe16(&record[6], language);
    return record;
}

std::optional<UsbSetup> parseDescriptorRequest(std::span<const std::uint8_t> record, std::uint16_t outputLength)
{
    if (record.size() != DescriptorRequestSize || readLe32(record.data()) != 0) {
        return std::nullopt;
    }
    return UsbSetup{0x80, 6, static_cast<std::uint16_t>(record[4] << 8 | record[5]), readLe16(&record[6]),
                    outputLength};
}

std::array<std::uint8_t, ControlRecordSize> buildControlRecord(const UsbSetup& setup)
{
    std::array<std::uint8_t, ControlRecordSize> record{};
    record[0] = static_cast<std::uint8_t>(setup.bmRequestType >> 7);
    writeLe32(&record[1], (setup.bmRequestType >> 5) & 3u);
    writeLe32(&record[5], setup.bmRequestType & 3u);
    record[9] = setup.bRequest;
    writeLe16(&record[10], setup.wValue);
    writeLe16(&record[12], setup.wIndex);
    writeLe16(&record[14], setup.wLength);
    return record;
}

std::optional<UsbSetup> parseControlRecord(std::span<const std::uint8_t> record)
{
    if (record.size() < ControlRecordSize) {
        return std::nullopt;
    }
    const std::uint32_t type = readLe32(&record[1]);
    const std::uint32_t recipient = readLe32(&record[5]);
    if (record[0] > 1 || type > 3 || recipient > 3) {
        return std::nullopt;
    }
    return UsbSetup{static_cast<std::uint8_t>(record[0] << 7 | type << 5 | recipient), record[9],
                    readLe16(&record[10]), readLe16(&record[12]), readLe16(&record[14])};
}

std::array<std::uint8_t, DfuInfoSize> buildDfuInfo(const DfuInfo& info)
{
    std::array<std::uint8_t, DfuInfoSize> record{};
    record[0] = info.bInterfaceProtocol;
    record[1] = info.bmAttributes;
    writeLe16(&record[2], info.wDetachTimeOut);
    writeLe16(&record[4], info.wTransferSize);
    return record;
}

DfuInfo parseDfuInfo(std::span<const std::uint8_t, DfuInfoSize> record)
{
    return {record[0], record[1], readLe16(&record[2]), readLe16(&record[4])};
}

std::optional<DownloadBlockView> parseDownloadBlock(std::span<const std::uint8_t> record)
{
    if (record.size() != DownloadBlockSize) {
        return std::nullopt;
    }
    const std::uint16_t length = readLe16(&record[2]);
    if (length >= DownloadBlockDataSize) {
        return std::nullopt;
    }
    return DownloadBlockView{readLe16(&record[0]), record.subspan(4, length)};
}

} // namespace Conduit2
