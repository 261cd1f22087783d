#pragma once

#include "ManualSource.h"

#include <vector>

namespace Manual {

// The simulated Trovix Studio's scenarios, one item each: the name that
// --simulate takes and what it simulates.
std::vector<Block> scenarioItems();

} // namespace Manual
