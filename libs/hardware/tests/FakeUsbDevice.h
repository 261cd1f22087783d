#pragma once

#include <sim/UsbDeviceModel.h>

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace Conduit2::Testing {

// A plain USB device for tests of the device layer: chosen ids, strings and
// interfaces; raw descriptors may be replaced to play a hostile device; it
// records the setup packets it receives.
class FakeUsbDevice final : public Sim::UsbDeviceModel {
public:
    struct Interface {
        std::uint8_t interfaceClass = 0xFF;
        std::uint8_t subClass = 0;
        std::uint8_t protocol = 0;
        std::vector<std::uint8_t> extra;
    };

    FakeUsbDevice(std::uint16_t vendorId, std::uint16_t productId, std::uint16_t bcdDevice = 0x0100,
                  std::string serial = "SERIAL");

    FakeUsbDevice& withInterface(Interface interface);
    // A DFU interface (class 0xFE/1) with its functional descriptor.
    FakeUsbDevice& withDfu(std::uint8_t protocol, std::uint8_t attributes, std::uint16_t detachTimeOut,
                           std::uint16_t transferSize);
    // Answers GET_DESCRIPTOR(type, index) with these bytes from now on.
    void replaceDescriptor(std::uint8_t type, std::uint8_t index, std::vector<std::uint8_t> bytes);
    // Answers nothing from now on.
    void stopAnswering() { silent_ = true; }
    // Leaves the bus right after answering the next transfer (as a device
    // does after DFU_DETACH).
    void leaveAfterNextAnswer() { leaveAfterAnswer_ = true; }
    // Answers every transfer this much later.
    void delayAnswers(Basalt::Clock::Duration delay) { delay_ = delay; }

    std::vector<Sim::SetupPacket> received();
    std::vector<std::vector<std::uint8_t>> receivedData();
    int resets() const { return resets_; }
    void unplug();

    void attach(Sim::DevicePort* port) override;
    Sim::ControlReply control(const Sim::SetupPacket& setup, std::span<const std::uint8_t> hostData) override;
    void busReset() override { ++resets_; }

private:
    Sim::ControlReply answer(const Sim::SetupPacket& setup, std::span<const std::uint8_t> hostData);
    std::vector<std::uint8_t> descriptor(std::uint8_t type, std::uint8_t index) const;
    std::vector<std::uint8_t> configuration() const;

    std::uint16_t vendorId_, productId_, bcdDevice_;
    std::string serial_;
    std::vector<Interface> interfaces_;
    std::map<std::pair<std::uint8_t, std::uint8_t>, std::vector<std::uint8_t>> replaced_;
    std::atomic<bool> silent_{false};
    std::atomic<bool> leaveAfterAnswer_{false};
    std::atomic<Basalt::Clock::Duration> delay_{Basalt::Clock::Duration::zero()};
    std::atomic<int> resets_{0};
    std::mutex lock_;
    std::vector<Sim::SetupPacket> received_;
    std::vector<std::vector<std::uint8_t>> receivedData_;
    Sim::DevicePort* port_ = nullptr;
};

} // namespace Conduit2::Testing
