#pragma once

#include "sim/SimScenarios.h"

#include <cstdint>
#include <span>
#include <string>

namespace Conduit2::Sim {

// The firmware a simulated Trovix Studio takes as good: the images the
// program carries, so that a good update brings it back with the newest firmware.
struct CarriedImages {
    std::span<const std::uint8_t> imageA;
    std::span<const std::uint8_t> imageB;
};

// Makes the USB driver serve a simulated bus set up as `scenario` describes,
// for the rest of the process: the simulated device of a program's
// --simulate option, kept in the file of its --simulate-state option.
//
// With a state file (`stateFile` not empty) the device is kept between runs:
// when the file exists, the device is restored from it, else the scenario's
// fresh device is used; finishSimulation() writes it back. False, with the
// sentence that says why in `error`, when the file exists but cannot be read
// or holds no device of this scenario; the file is then left as it is.
bool useSimulatedBus(const Scenario& scenario, const CarriedImages& images, const std::string& stateFile,
                     std::string& error);

// Writes the simulated device as it is now to the state file, replacing the
// file in one step. Does nothing without a state file or a device. Meant for
// every end of the program, also while the update's worker is in the middle
// of a transfer: it takes the device's lock, so the saved state lies between
// two requests. Not for a signal handler. False, with a sentence on standard
// error, when the file cannot be written.
bool finishSimulation();

} // namespace Conduit2::Sim
