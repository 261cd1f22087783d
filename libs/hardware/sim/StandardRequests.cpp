#include "sim/StandardRequests.h"

#include "sim/Bytes.h"

namespace Conduit2::Sim {
namespace {

using DETAIL::inAnswer;

enum eStandardRequest : std::uint8_t {
    GetStatus = 0,
    SetAddress = 5,
    GetDescriptor = 6,
    GetConfiguration = 8,
    SetConfiguration = 9,
    GetInterface = 10,
    SetInterface = 11,
};

enum eDescriptorType : std::uint8_t { DeviceDescriptor = 1, ConfigurationDescriptor = 2, StringDescriptor = 3 };

constexpr std::uint8_t ToDevice = 0x00;
constexpr std::uint8_t ToInterface = 0x01;
constexpr std::uint8_t FromDevice = 0x80;
constexpr std::uint8_t FromInterface = 0x81;
constexpr std::uint8_t FromEndpoint = 0x82;

} // namespace

void StandardRequests::reset(DescriptorSet descriptors)
{
    descriptors_ = std::move(descriptors);
    configuration_ = 0;
}

ControlReply StandardRequests::handle(const SetupPacket& setup)
{
    switch (setup.bRequest) {
    case GetStatus:
        return getStatus(setup);
    case SetAddress:
        return setup.bmRequestType == ToDevice && setup.wValue <= 127 ? ControlReply::ack() : ControlReply::stall();
    case GetDescriptor:
        return setup.bmRequestType == FromDevice ? getDescriptor(setup) : ControlReply::stall();
    case GetConfiguration:
        return setup.bmRequestType == FromDevice ? inAnswer({configuration_}, setup.wLength) : ControlReply::stall();
    case SetConfiguration:
        return setup.bmRequestType == ToDevice ? setConfiguration(setup) : ControlReply::stall();
    case GetInterface:
    case SetInterface:
        return interfaceRequest(setup);
    default:
        return ControlReply::stall();
    }
}

ControlReply StandardRequests::getDescriptor(const SetupPacket& setup) const
{
    const auto type = static_cast<std::uint8_t>(setup.wValue >> 8);
    const auto index = static_cast<std::uint8_t>(setup.wValue & 0xFF);
    switch (type) {
    case DeviceDescriptor:
        return index == 0 ? inAnswer(descriptors_.device, setup.wLength) : ControlReply::stall();
    case ConfigurationDescriptor:
        return index == 0 ? inAnswer(descriptors_.configuration, setup.wLength) : ControlReply::stall();
    case StringDescriptor:
        // Index 0 lists the languages; the strings exist in that one language,
        // which the firmware also gives for language id 0, as many devices do
        // (the updater asks with language 0).
        if (index >= descriptors_.strings.size()
            || (index != 0 && setup.wIndex != LanguageEnglishUs && setup.wIndex != 0)) {
            return ControlReply::stall();
        }
        return inAnswer(descriptors_.strings[index], setup.wLength);
    default:
        return ControlReply::stall();
    }
}

// Bus powered, no remote wake-up, nothing halted.
ControlReply StandardRequests::getStatus(const SetupPacket& setup) const
{
    const bool known = setup.bmRequestType == FromDevice
        || (setup.bmRequestType == FromInterface && hasInterface(setup.wIndex))
        || (setup.bmRequestType == FromEndpoint && (setup.wIndex == 0x00 || setup.wIndex == 0x80));
    return known ? inAnswer({0, 0}, setup.wLength) : ControlReply::stall();
}

ControlReply StandardRequests::setConfiguration(const SetupPacket& setup)
{
    if (setup.wValue > 1) {
        return ControlReply::stall();
    }
    configuration_ = static_cast<std::uint8_t>(setup.wValue);
    return ControlReply::ack();
}

// Every interface has only alternate setting 0.
ControlReply StandardRequests::interfaceRequest(const SetupPacket& setup) const
{
    if (!hasInterface(setup.wIndex)) {
        return ControlReply::stall();
    }
    if (setup.bRequest == GetInterface && setup.bmRequestType == FromInterface) {
        return inAnswer({0}, setup.wLength);
    }
    if (setup.bRequest == SetInterface && setup.bmRequestType == ToInterface && setup.wValue == 0) {
        return ControlReply::ack();
    }
    return ControlReply::stall();
}

} // namespace Conduit2::Sim
