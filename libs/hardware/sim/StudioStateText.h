#pragma once

#include "sim/StudioState.h"

#include <optional>
#include <string>
#include <string_view>

namespace Conduit2::Sim {

// A saved simulated Trovix Studio and the scenario it was made with.
struct SavedStudio {
    std::string scenario;
    StudioState state;

    bool operator==(const SavedStudio&) const = default;
};

// The saved device as text, one "key value" line for each item, such as
//
//   scenario write-fails-once
//   mode update
//   secondary-revision 0x65
//   fault-points-reached 1
//   dfu-state dfuERROR
//   image-a expected 20480
//
// Flags are yes or no; numbers are decimal or, after 0x, hexadecimal; DFU
// states and statuses have the names of the DFU 1.1 standard. An image is
// "expected N", the first N bytes of the image that `config` expects, or
// "bytes" and its bytes in hexadecimal. Each key is given once, in any
// order; empty lines and lines that start with '#' are skipped.
std::string formatSavedStudio(const SavedStudio& saved, const StudioConfig& config);

// The saved device that `text` describes, or nothing, with `error` saying
// what is wrong and on which line.
std::optional<SavedStudio> parseSavedStudio(std::string_view text, const StudioConfig& config, std::string& error);

} // namespace Conduit2::Sim
