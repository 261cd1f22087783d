#pragma once

#include "logic/UpdatePhase.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace Cli {

// A phase as the program names it: `written` of `total` bytes tells image A's
// manifestation (every byte accepted) from its write.
struct PhaseNames {
    std::string text;       // for people: "Writing image A"
    std::string_view name;  // for scripts: "writing-image-a"
    bool writes = false;    // bytes move in this phase (otherwise it is a wait)
};
PhaseNames phaseNames(eUpdatePhase phase, std::uint32_t written, std::uint32_t total, std::string_view deviceName);

// One progress line of at most `width` columns: the phase's text, then for
// a phase that writes a bar, the percentage and the bytes, or for a wait a
// spinner turned by `tick` and the seconds it has lasted.
std::string progressLine(const PhaseNames& phase, std::uint32_t written, std::uint32_t total, unsigned tick,
                         long seconds, std::size_t width);

} // namespace Cli
