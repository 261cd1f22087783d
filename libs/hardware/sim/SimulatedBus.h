#pragma once

#include "sim/UsbDeviceModel.h"

#include <conduit2/UsbBus.h>

#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

namespace Conduit2::Sim {

// A USB bus of simulated devices. Each model sits in a port of its own
// ("sim-1", "sim-2", …); when a model is plugged in, the bus reads its
// descriptors with GET_DESCRIPTOR requests as a host enumerates a device, and
// reports the arrival; unplugged, its open ports fail with "device not
// connected". Delayed answers run on the process clock, so tests see them in
// virtual time.
class SimulatedBus final : public UsbBus {
public:
    SimulatedBus();
    ~SimulatedBus() override;
    SimulatedBus(const SimulatedBus&) = delete;
    SimulatedBus& operator=(const SimulatedBus&) = delete;

    // Puts the model in the next free port and plugs it in.
    void attach(std::shared_ptr<UsbDeviceModel> model);

    // Makes enumerate() fail, as when the system cannot list its devices.
    void setEnumerationFails(bool fails);

    bool enumerate(std::vector<UsbBusDevice>& devices) override;
    bool find(const std::string& location, UsbBusDevice& device) override;
    std::uint32_t open(const std::string& location, std::unique_ptr<UsbPort>& port) override;
    void setHotplugHandler(HotplugHandler handler) override;

    struct Slot;

private:
    void report(bool arrived, const UsbBusDevice& device);
    // The slot of the port at `location`, or null; under lock_.
    std::shared_ptr<Slot> slotAt(const std::string& location) const;

    std::mutex lock_;
    std::vector<std::shared_ptr<Slot>> slots_;
    std::unordered_map<std::string, std::shared_ptr<Slot>> slotsByLocation_;
    bool enumerationFails_ = false;
    std::mutex handlerLock_;
    HotplugHandler handler_;
};

} // namespace Conduit2::Sim
