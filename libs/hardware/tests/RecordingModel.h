#pragma once

#include <basalt/Clock.h>
#include <sim/UsbDeviceModel.h>

#include <memory>
#include <mutex>
#include <vector>

namespace Conduit2::Testing {

// Passes everything to another model and records each setup packet with the
// (virtual) moment it arrived.
class RecordingModel final : public Sim::UsbDeviceModel {
public:
    struct Entry {
        Sim::SetupPacket setup;
        Basalt::Clock::TimePoint at;
    };

    explicit RecordingModel(std::shared_ptr<Sim::UsbDeviceModel> inner) : inner_(std::move(inner)) {}

    void attach(Sim::DevicePort* port) override { inner_->attach(port); }
    void busReset() override { inner_->busReset(); }
    Sim::ControlReply control(const Sim::SetupPacket& setup, std::span<const std::uint8_t> hostData) override
    {
        {
            std::lock_guard guard(lock_);
            log_.push_back({setup, Basalt::clock().now()});
        }
        return inner_->control(setup, hostData);
    }

    // The recorded packets with this request type and request.
    std::vector<Entry> requests(std::uint8_t bmRequestType, std::uint8_t bRequest)
    {
        std::lock_guard guard(lock_);
        std::vector<Entry> found;
        for (const Entry& entry : log_) {
            if (entry.setup.bmRequestType == bmRequestType && entry.setup.bRequest == bRequest) {
                found.push_back(entry);
            }
        }
        return found;
    }

private:
    std::shared_ptr<Sim::UsbDeviceModel> inner_;
    std::mutex lock_;
    std::vector<Entry> log_;
};

} // namespace Conduit2::Testing
