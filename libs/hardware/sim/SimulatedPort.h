#pragma once

#include "sim/UsbDeviceModel.h"

#include <conduit2/UsbBus.h>

#include <functional>
#include <memory>

namespace Conduit2::Sim {

// An open simulated device. Transfers go to the model; an answer with a delay
// completes later on the process clock, a missing answer never completes (it
// can only be cancelled). Once the device has left the bus, or come back as
// another enumeration, every request fails with "device not connected".
class SimulatedPort final : public UsbPort {
public:
    using ConnectedTest = std::function<bool()>;

    SimulatedPort(std::shared_ptr<UsbDeviceModel> model, UsbBusDevice device, ConnectedTest connected);

    std::unique_ptr<PortTransfer> createTransfer() override;
    std::uint32_t claimInterface(std::uint8_t interfaceNumber) override;
    std::uint32_t reset() override;

private:
    std::shared_ptr<UsbDeviceModel> model_;
    UsbBusDevice device_;
    ConnectedTest connected_;
};

} // namespace Conduit2::Sim
