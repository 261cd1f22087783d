#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace Cli {

// The phase of a running update as one word: "writing" until every image
// byte has been accepted, then "restarting" while the device restarts.
std::string_view runningPhase(std::uint32_t written, std::uint32_t total);

// One progress line: a bar, the percentage, the bytes written of `total`
// and the phase word. The counts are padded to the width of `total`, so
// that the lines of one update differ in length only by their phase word.
std::string progressLine(std::uint32_t written, std::uint32_t total, std::string_view phase);

} // namespace Cli
