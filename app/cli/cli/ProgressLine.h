#pragma once

#include "logic/PhaseNames.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace Cli {

// One progress line of at most `width` columns: the phase's text, then for
// a phase that writes a bar, the percentage and the bytes, or for a wait a
// spinner turned by `tick` and the seconds it has lasted.
std::string progressLine(const PhaseNames& phase, std::uint32_t written, std::uint32_t total, unsigned tick,
                         long seconds, std::size_t width);

} // namespace Cli
