#pragma once

#include "ModelDescriptors.h"
#include "UsbfsNode.h"

#include <sim/UsbDeviceModel.h>

#include <umockdev.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace UsbEmulation {

// A umockdev testbed with one USB bus: a root hub (usb1) and a device model in
// its port 1 (1-1). Each time the model plugs itself in, it appears with the
// next device number and a fresh device node, and "add" is announced; when it
// unplugs, "remove" is announced and its old node answers ENODEV from then on.
// An unopenable bus gives its device nodes no permissions at all, as a system
// without a udev rule for the device does.
// The process must run under umockdev's preload library.
class EmulatedBus final : public Conduit2::Sim::DevicePort {
public:
    EmulatedBus(std::shared_ptr<Conduit2::Sim::UsbDeviceModel> model, bool unopenable);
    ~EmulatedBus();
    EmulatedBus(const EmulatedBus&) = delete;
    EmulatedBus& operator=(const EmulatedBus&) = delete;

    void plug() override;
    void unplug() override;

    // The device is on the bus.
    bool plugged() const;
    // Control transfers the clients have sent to the model since the start.
    std::size_t controlTransfers() const;

private:
    struct Node {
        UMockdevIoctlBase* handler;
        std::shared_ptr<UsbfsNode> node;
    };

    std::string addDevice(const std::string& name, const std::string& parent, int number,
                          const EnumeratedDevice& device);
    std::string rootDir() const;
    void makeNodeFile(const std::string& node) const;
    void shareWithEveryUser() const;

    const std::shared_ptr<Conduit2::Sim::UsbDeviceModel> model_;
    const bool unopenable_;
    UMockdevTestbed* testbed_;
    std::string rootHub_;
    mutable std::mutex lock_;
    int nextNumber_ = 2;
    std::string device_; // the sysfs path while plugged
    std::vector<Node> nodes_;
};

} // namespace UsbEmulation
