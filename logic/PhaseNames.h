#pragma once

#include "logic/UpdatePhase.h"

#include <cstdint>
#include <string>
#include <string_view>

// A phase as the program names it: `written` of `total` bytes tells image A's
// manifestation (every byte accepted) from its write.
struct PhaseNames {
    std::string text;       // for people: "Writing image A"
    std::string_view name;  // for scripts: "writing-image-a"
    bool writes = false;    // bytes move in this phase (otherwise it is a wait)
};
PhaseNames phaseNames(eUpdatePhase phase, std::uint32_t written, std::uint32_t total, std::string_view deviceName);
