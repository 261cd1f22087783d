#include "FakeUsbDevice.h"

#include <algorithm>

namespace Conduit2::Testing {

FakeUsbDevice::FakeUsbDevice(std::uint16_t vendorId, std::uint16_t productId, std::uint16_t bcdDevice,
                             std::string serial)
    : vendorId_(vendorId), productId_(productId), bcdDevice_(bcdDevice), serial_(std::move(serial))
{
}

FakeUsbDevice& FakeUsbDevice::withInterface(Interface interface)
{
    interfaces_.push_back(std::move(interface));
    return *this;
}

FakeUsbDevice& FakeUsbDevice::withDfu(std::uint8_t protocol, std::uint8_t attributes, std::uint16_t detachTimeOut,
                                      std::uint16_t transferSize)
{
    return withInterface({0xFE, 0x01, protocol,
                          {9, 0x21, attributes, static_cast<std::uint8_t>(detachTimeOut),
                           static_cast<std::uint8_t>(detachTimeOut >> 8), static_cast<std::uint8_t>(transferSize),
                           static_cast<std::uint8_t>(transferSize >> 8), 0x10, 0x01}});
}

void FakeUsbDevice::replaceDescriptor(std::uint8_t type, std::uint8_t index, std::vector<std::uint8_t> bytes)
{
    std::lock_guard guard(lock_);
    replaced_[{type, index}] = std::move(bytes);
}

std::vector<Sim::SetupPacket> FakeUsbDevice::received()
{
    std::lock_guard guard(lock_);
    return received_;
}

std::vector<std::vector<std::uint8_t>> FakeUsbDevice::receivedData()
{
    std::lock_guard guard(lock_);
    return receivedData_;
}

void FakeUsbDevice::attach(Sim::DevicePort* port)
{
    port_ = port;
}

void FakeUsbDevice::unplug()
{
    port_->unplug();
}

std::vector<std::uint8_t> FakeUsbDevice::configuration() const
{
    std::vector<std::uint8_t> bytes{9, 2, 0, 0, static_cast<std::uint8_t>(interfaces_.size()), 1, 0, 0x80, 50};
    for (std::size_t i = 0; i < interfaces_.size(); ++i) {
        const Interface& interface = interfaces_[i];
        const std::uint8_t header[] = {9, 4, static_cast<std::uint8_t>(i), 0, 0, interface.interfaceClass,
                                       interface.subClass, interface.protocol, 0};
        bytes.insert(bytes.end(), std::begin(header), std::end(header));
        bytes.insert(bytes.end(), interface.extra.begin(), interface.extra.end());
    }
    bytes[2] = static_cast<std::uint8_t>(bytes.size());
    bytes[3] = static_cast<std::uint8_t>(bytes.size() >> 8);
    return bytes;
}

std::vector<std::uint8_t> FakeUsbDevice::descriptor(std::uint8_t type, std::uint8_t index) const
{
    if (const auto it = replaced_.find({type, index}); it != replaced_.end()) {
        return it->second;
    }
    if (type == 1) {
        return {18, 1, 0x00, 0x02, 0, 0, 0, 64, static_cast<std::uint8_t>(vendorId_),
                static_cast<std::uint8_t>(vendorId_ >> 8), static_cast<std::uint8_t>(productId_),
                static_cast<std::uint8_t>(productId_ >> 8), static_cast<std::uint8_t>(bcdDevice_),
                static_cast<std::uint8_t>(bcdDevice_ >> 8), 1, 2, 3, 1};
    }
    if (type == 2) {
        return configuration();
    }
    if (type == 3) {
        const std::string text = index == 0 ? std::string("\x09\x04", 2)
                               : index == 1 ? "Maker"
                               : index == 2 ? "Fake Device"
                               : index == 3 ? serial_
                                            : "";
        if (index > 3) {
            return {};
        }
        std::vector<std::uint8_t> bytes{0, 3};
        if (index == 0) {
            bytes.insert(bytes.end(), text.begin(), text.end());
        } else {
            for (char c : text) {
                bytes.push_back(static_cast<std::uint8_t>(c));
                bytes.push_back(0);
            }
        }
        bytes[0] = static_cast<std::uint8_t>(bytes.size());
        return bytes;
    }
    return {};
}

Sim::ControlReply FakeUsbDevice::control(const Sim::SetupPacket& setup, std::span<const std::uint8_t> hostData)
{
    Sim::ControlReply reply = answer(setup, hostData);
    if (leaveAfterAnswer_.exchange(false)) {
        port_->unplug();
    }
    return reply;
}

Sim::ControlReply FakeUsbDevice::answer(const Sim::SetupPacket& setup, std::span<const std::uint8_t> hostData)
{
    const bool getDescriptor = setup.bmRequestType == 0x80 && setup.bRequest == 6;
    std::lock_guard guard(lock_);
    received_.push_back(setup);
    receivedData_.emplace_back(hostData.begin(), hostData.end());
    if (silent_) {
        return Sim::ControlReply::noAnswer();
    }
    Sim::ControlReply reply = Sim::ControlReply::ack();
    reply.delay = delay_.load();
    if (getDescriptor) {
        auto bytes = descriptor(static_cast<std::uint8_t>(setup.wValue >> 8), static_cast<std::uint8_t>(setup.wValue));
        if (bytes.empty()) {
            return Sim::ControlReply::stall();
        }
        bytes.resize(std::min<std::size_t>(bytes.size(), setup.wLength));
        reply.data = std::move(bytes);
    } else if (setup.isDeviceToHost()) {
        reply.data.assign(setup.wLength, 0xA5);
    }
    return reply;
}

} // namespace Conduit2::Testing
