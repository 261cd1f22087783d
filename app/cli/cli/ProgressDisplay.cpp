#include "cli/ProgressDisplay.h"

#include "cli/ProgressLine.h"

#include <algorithm>
#include <ostream>

namespace Cli {

ProgressDisplay::ProgressDisplay(Console& console, std::uint32_t totalBytes)
    : console_(console), totalBytes_(totalBytes)
{
}

void ProgressDisplay::show(std::uint32_t written)
{
    if (console_.terminal || !started_) {
        draw(written, runningPhase(written, totalBytes_));
    }
    started_ = true;
}

void ProgressDisplay::note(std::string_view text)
{
    if (lineOpen_) {
        console_.out << '\n';
        lineOpen_ = false;
    }
    console_.out << text << '\n' << std::flush;
}

void ProgressDisplay::finish(std::uint32_t written, std::string_view phase)
{
    draw(written, phase);
    if (lineOpen_) {
        console_.out << '\n' << std::flush;
        lineOpen_ = false;
    }
}

void ProgressDisplay::draw(std::uint32_t written, std::string_view phase)
{
    std::string line = progressLine(written, totalBytes_, phase);
    if (console_.terminal) {
        drawnWidth_ = std::max(drawnWidth_, line.size());
        line.resize(drawnWidth_, ' ');
        console_.out << '\r' << line << std::flush;
        lineOpen_ = true;
    } else {
        console_.out << line << '\n' << std::flush;
    }
}

} // namespace Cli
