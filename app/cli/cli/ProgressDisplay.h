#pragma once

#include "cli/Console.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace Cli {

// Shows the progress of an update. On a terminal one line is redrawn in
// place; otherwise (a log or a pipe) only the first and the final line are
// written, without carriage returns.
class ProgressDisplay {
public:
    ProgressDisplay(Console& console, std::uint32_t totalBytes);

    // The progress now, in the running phase for `written`.
    void show(std::uint32_t written);
    // A message of its own between progress lines.
    void note(std::string_view text);
    // The final line, with the phase word that tells how it ended.
    void finish(std::uint32_t written, std::string_view phase);

private:
    void draw(std::uint32_t written, std::string_view phase);

    Console& console_;
    std::uint32_t totalBytes_;
    bool started_ = false;
    bool lineOpen_ = false;       // a redrawn line ends the terminal output, without its line end
    std::size_t drawnWidth_ = 0;  // the longest line drawn in place, which a new line must cover
};

} // namespace Cli
