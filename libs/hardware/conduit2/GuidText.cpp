#include "conduit2/GuidText.h"

#include <array>

#include <fmt/format.h>

namespace Conduit2 {
namespace {

// Byte positions in memory of the 16 bytes written in text order.
constexpr std::array<int, 16> memoryOrder{3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};

int hexValue(char16_t c)
{
    if (c >= u'0' && c <= u'9') {
        return c - u'0';
    }
    if (c >= u'a' && c <= u'f') {
        return c - u'a' + 10;
    }
    if (c >= u'A' && c <= u'F') {
        return c - u'A' + 10;
    }
    return -1;
}

Basalt::Guid literal(std::u16string_view text)
{
    return *parseGuid(text);
}

} // namespace

const Basalt::Guid UsbDeviceInterfaceGuid = literal(u"{A5DCBF10-6530-11D2-901F-00C04FB951ED}");
const Basalt::Guid HidInterfaceGuid = literal(u"{4D1E55B2-F16F-11CF-88CB-001111000030}");
const Basalt::Guid VxDfuInterfaceGuid = literal(u"{8DAC2119-BA5A-46FD-9484-F4E0C1713F9F}");
const Basalt::Guid VxIapInterfaceGuid = literal(u"{9EB60CC9-94A9-4AE1-A494-77303704CC40}");
const Basalt::Guid VxBdInterfaceGuid = literal(u"{41D35250-E733-4309-B0C1-F2F0A6E31A4A}");

std::optional<Basalt::Guid> parseGuid(std::u16string_view text)
{
    if (text.size() != 38 || text.front() != u'{' || text.back() != u'}') {
        return std::nullopt;
    }
    Basalt::Guid guid;
    std::size_t byte = 0;
    for (std::size_t i = 1; i < 37;) {
        if (i == 9 || i == 14 || i == 19 || i == 24) {
            if (text[i] != u'-') {
                return std::nullopt;
            }
            ++i;
            continue;
        }
        const int high = hexValue(text[i]);
        const int low = hexValue(text[i + 1]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        guid.bytes[static_cast<std::size_t>(memoryOrder[byte++])] = static_cast<std::uint8_t>(high << 4 | low);
        i += 2;
    }
    return guid;
}

std::string formatGuid(const Basalt::Guid& guid)
{
    std::array<std::uint8_t, 16> b{};
    for (std::size_t i = 0; i < 16; ++i) {
        b[i] = guid.bytes[static_cast<std::size_t>(memoryOrder[i])];
    }
    return fmt::format("{{{:02x}{:02x}{:02x}{:02x}-{:02x}{:02x}-{:02x}{:02x}-{:02x}{:02x}-"
                       "{:02x}{:02x}{:02x}{:02x}{:02x}{:02x}}}",
                       b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7], b[8], b[9], b[10], b[11], b[12],
                       b[13], b[14], b[15]);
}

} // namespace Conduit2
