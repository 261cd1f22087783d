#include "ScenarioList.h"

#include <sim/SimScenarios.h>

namespace Manual {

std::vector<Block> scenarioItems()
{
    std::vector<Block> items;
    for (const auto& scenario : Conduit2::Sim::allScenarios()) {
        items.push_back({std::string(scenario.name), {std::string(scenario.description)}});
    }
    return items;
}

} // namespace Manual
