#pragma once

#include "sim/TrovixStudioModel.h"

#include <span>
#include <string_view>

namespace Conduit2::Sim {

// A named set-up of the simulated bus, shared by tests and by --simulate.
struct Scenario {
    std::string_view name;
    std::string_view description;
    bool hasDevice = true;
    TrovixStudioModel::Config config;
};

constexpr std::string_view DefaultScenarioName = "update-available";

std::span<const Scenario> allScenarios();
// Null for an unknown name.
const Scenario* findScenario(std::string_view name);

} // namespace Conduit2::Sim
