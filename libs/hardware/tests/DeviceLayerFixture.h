#pragma once

#include "FakeUsbDevice.h"

#include <basalt/VirtualClock.h>
#include <conduit2/UsbDriver.h>
#include <sim/SimulatedBus.h>

#include <gtest/gtest.h>

#include <memory>

namespace Conduit2::Testing {

// Runs a test on a simulated bus of its own, in virtual time, with device
// notifications started.
class DeviceLayerTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Plugs a device into the bus and returns it.
    std::shared_ptr<FakeUsbDevice> plug(std::shared_ptr<FakeUsbDevice> device);
    // A device of the Trovix Studio's interface in run-time mode.
    std::shared_ptr<FakeUsbDevice> plugStudio(std::string serial = "TVS1", std::uint16_t productId = 0x1300);

    Basalt::VirtualClock clock;
    std::shared_ptr<Sim::SimulatedBus> bus = std::make_shared<Sim::SimulatedBus>();

private:
    std::unique_ptr<Basalt::ScopedClock> scopedClock_;
};

} // namespace Conduit2::Testing
