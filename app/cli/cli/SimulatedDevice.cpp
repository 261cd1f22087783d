#include "cli/SimulatedDevice.h"

#include <conduit2/UsbDriver.h>
#include <firmware/FirmwareImageSet.h>
#include <sim/SimulatedBus.h>

#include <memory>

namespace Cli {

void useSimulatedBus(const Conduit2::Sim::Scenario& scenario)
{
    auto bus = std::make_shared<Conduit2::Sim::SimulatedBus>();
    if (scenario.hasDevice) {
        auto config = scenario.config;
        const auto imageA = FirmwareImageSet::imageA();
        const auto imageB = FirmwareImageSet::imageB();
        config.expectedImageA.assign(imageA.begin(), imageA.end());
        config.expectedImageB.assign(imageB.begin(), imageB.end());
        bus->attach(std::make_shared<Conduit2::Sim::TrovixStudioModel>(std::move(config)));
    }
    Conduit2::UsbDriver::instance().useBus(std::move(bus));
}

} // namespace Cli
