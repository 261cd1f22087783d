#pragma once

#include <sim/SimScenarios.h>

namespace Cli {

// Makes the USB driver serve a simulated bus set up as `scenario` describes,
// for the rest of the process. Its Trovix Studio expects the images that the
// updater carries, so that a good update brings it back with the newest firmware.
void useSimulatedBus(const Conduit2::Sim::Scenario& scenario);

} // namespace Cli
