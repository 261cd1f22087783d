#include "conduit2/UsbDescriptors.h"

#include "conduit2/DriverRecords.h"

#include <boost/locale/encoding_utf.hpp>

namespace Conduit2 {
namespace {

constexpr std::uint8_t DeviceType = 1;
constexpr std::uint8_t ConfigurationType = 2;
constexpr std::uint8_t InterfaceType = 4;
constexpr std::uint8_t DfuFunctionalType = 0x21;

} // namespace

std::optional<DeviceDescriptor> parseDeviceDescriptor(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < 18 || bytes[0] < 18 || bytes[1] != DeviceType) {
        return std::nullopt;
    }
    return DeviceDescriptor{readLe16(&bytes[8]), readLe16(&bytes[10]), readLe16(&bytes[12]),
                            bytes[14], bytes[15], bytes[16]};
}

std::optional<std::vector<UsbInterfaceInfo>> parseConfiguration(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < 9 || bytes[0] < 9 || bytes[1] != ConfigurationType) {
        return std::nullopt;
    }
    const std::size_t total = std::min<std::size_t>(readLe16(&bytes[2]), bytes.size());
    std::vector<UsbInterfaceInfo> interfaces;
    UsbInterfaceInfo* current = nullptr;
    for (std::size_t at = bytes[0]; at + 2 <= total;) {
        const std::size_t length = bytes[at];
        if (length < 2 || at + length > total) {
            break;
        }
        const auto descriptor = bytes.subspan(at, length);
        if (descriptor[1] == InterfaceType) {
            current = nullptr;
            if (length >= 9 && descriptor[3] == 0) {
                current = &interfaces.emplace_back(
                    UsbInterfaceInfo{descriptor[2], descriptor[5], descriptor[6], descriptor[7], {}});
            }
        } else if (current) {
            current->extra.insert(current->extra.end(), descriptor.begin(), descriptor.end());
        }
        at += length;
    }
    return interfaces;
}

std::optional<DfuFunctionalDescriptor> findDfuFunctional(std::span<const std::uint8_t> extra)
{
    for (std::size_t at = 0; at + 2 <= extra.size();) {
        const std::size_t length = extra[at];
        if (length < 2 || at + length > extra.size()) {
            break;
        }
        if (extra[at + 1] == DfuFunctionalType && length >= 7) {
            return DfuFunctionalDescriptor{extra[at + 2], readLe16(&extra[at + 3]), readLe16(&extra[at + 5])};
        }
        at += length;
    }
    return std::nullopt;
}

const UsbInterfaceInfo* findDfuInterface(const UsbBusDevice& device)
{
    for (const UsbInterfaceInfo& interface : device.interfaces) {
        if (interface.interfaceClass == DfuInterfaceClass && interface.subClass == DfuInterfaceSubClass) {
            return &interface;
        }
    }
    return nullptr;
}

std::string decodeStringDescriptor(std::span<const std::uint8_t> buffer)
{
    if (buffer.size() < 2) {
        return {};
    }
    const std::size_t end = std::min<std::size_t>(buffer[0] / 2, buffer.size() / 2);
    std::u16string units;
    for (std::size_t i = 1; i < end; ++i) {
        const auto unit = static_cast<char16_t>(readLe16(&buffer[2 * i]));
        if (unit == 0) {
            break;
        }
        units.push_back(unit);
    }
    return utf16ToUtf8(units);
}

// Unpaired surrogates are dropped first, so that the conversion's skipping
// never takes the character after one along with it.
std::string utf16ToUtf8(std::u16string_view text)
{
    const auto isHigh = [](char16_t c) { return c >= 0xD800 && c <= 0xDBFF; };
    const auto isLow = [](char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; };
    std::u16string paired;
    paired.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (isHigh(text[i]) && i + 1 < text.size() && isLow(text[i + 1])) {
            paired += text.substr(i++, 2);
        } else if (!isHigh(text[i]) && !isLow(text[i])) {
            paired += text[i];
        }
    }
    return boost::locale::conv::utf_to_utf<char>(paired.data(), paired.data() + paired.size(),
                                                 boost::locale::conv::skip);
}

} // namespace Conduit2
