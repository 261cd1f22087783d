#include "ModelDescriptors.h"

namespace UsbEmulation {

using Conduit2::Sim::ControlReply;

namespace {

constexpr std::uint8_t GetDescriptor = 6;
constexpr std::uint16_t DeviceDescriptor = 0x0100;
constexpr std::uint16_t ConfigurationDescriptor = 0x0200;

std::vector<std::uint8_t> getDescriptor(Conduit2::Sim::UsbDeviceModel& model, std::uint16_t value,
                                        std::uint16_t length)
{
    const ControlReply reply = model.control({0x80, GetDescriptor, value, 0, length}, {});
    return reply.kind == ControlReply::Ack ? reply.data : std::vector<std::uint8_t>{};
}

} // namespace

std::optional<EnumeratedDevice> enumerateModel(Conduit2::Sim::UsbDeviceModel& model)
{
    EnumeratedDevice device;
    device.descriptors = getDescriptor(model, DeviceDescriptor, 18);
    if (device.descriptors.size() != 18 || device.descriptors[1] != 1) {
        return std::nullopt;
    }
    const std::uint8_t configurations = device.descriptors[17];
    for (std::uint8_t index = 0; index < configurations; ++index) {
        const auto header = getDescriptor(model, ConfigurationDescriptor | index, 9);
        if (header.size() != 9 || header[1] != 2) {
            return std::nullopt;
        }
        const auto total = static_cast<std::uint16_t>(header[2] | header[3] << 8);
        const auto whole = getDescriptor(model, ConfigurationDescriptor | index, total);
        if (whole.size() != total) {
            return std::nullopt;
        }
        device.descriptors.insert(device.descriptors.end(), whole.begin(), whole.end());
        if (index == 0) {
            device.configurationValue = header[5];
        }
    }
    return device;
}

} // namespace UsbEmulation
