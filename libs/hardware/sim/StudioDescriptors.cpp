#include "sim/StudioDescriptors.h"

#include "sim/Bytes.h"

namespace Conduit2::Sim {
namespace {

using DETAIL::appendLe16;

constexpr std::uint8_t DeviceType = 1;
constexpr std::uint8_t ConfigurationType = 2;
constexpr std::uint8_t StringType = 3;
constexpr std::uint8_t InterfaceType = 4;
constexpr std::uint8_t DfuFunctionalType = 0x21;

constexpr std::uint8_t ManufacturerIndex = 1;
constexpr std::uint8_t ProductIndex = 2;
constexpr std::uint8_t SerialIndex = 3;

std::vector<std::uint8_t> deviceDescriptor(const StudioIdentity& identity)
{
    std::vector<std::uint8_t> out{18, DeviceType};
    appendLe16(out, 0x0200);
    out.insert(out.end(), {0x00, 0x00, 0x00, 64});
    appendLe16(out, TrovixVendorId);
    appendLe16(out, identity.dfuMode ? StudioDfuProductId : StudioRunTimeProductId);
    appendLe16(out, identity.bcdDevice);
    out.insert(out.end(), {ManufacturerIndex, ProductIndex, SerialIndex, 1});
    return out;
}

void appendInterface(std::vector<std::uint8_t>& out, std::uint8_t number, std::uint8_t cls,
                     std::uint8_t subClass, std::uint8_t protocol)
{
    out.insert(out.end(), {9, InterfaceType, number, 0, 0, cls, subClass, protocol, 0});
}

void appendDfuFunctional(std::vector<std::uint8_t>& out, const StudioIdentity& identity)
{
    out.insert(out.end(), {9, DfuFunctionalType, identity.dfuAttributes});
    appendLe16(out, identity.detachTimeOutMs);
    appendLe16(out, identity.transferSize);
    appendLe16(out, 0x0110);
}

// Bus powered, 500 mA.
std::vector<std::uint8_t> configurationDescriptor(const StudioIdentity& identity)
{
    std::vector<std::uint8_t> out{9, ConfigurationType, 0, 0, 0, 1, 0, 0x80, 250};
    std::uint8_t interfaces = 0;
    if (!identity.dfuMode) {
        appendInterface(out, interfaces++, 0xFF, 0x00, 0x00);
    }
    appendInterface(out, interfaces++, 0xFE, 0x01, identity.dfuMode ? 0x02 : 0x01);
    appendDfuFunctional(out, identity);
    out[2] = static_cast<std::uint8_t>(out.size() & 0xFF);
    out[3] = static_cast<std::uint8_t>(out.size() >> 8);
    out[4] = interfaces;
    return out;
}

std::vector<std::uint8_t> stringDescriptor(const std::string& text)
{
    std::vector<std::uint8_t> out{static_cast<std::uint8_t>(2 + 2 * text.size()), StringType};
    for (const char c : text) {
        appendLe16(out, static_cast<std::uint8_t>(c));
    }
    return out;
}

} // namespace

DescriptorSet studioDescriptors(const StudioIdentity& identity)
{
    std::vector<std::uint8_t> languages{4, StringType};
    appendLe16(languages, LanguageEnglishUs);
    const auto configuration = configurationDescriptor(identity);
    return {
        deviceDescriptor(identity),
        configuration,
        {languages, stringDescriptor("Trovix"), stringDescriptor("Trovix Studio"),
         stringDescriptor(identity.serialNumber)},
        configuration[4],
        static_cast<std::uint8_t>(configuration[4] - 1),
    };
}

} // namespace Conduit2::Sim
