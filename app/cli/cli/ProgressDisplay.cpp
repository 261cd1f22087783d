#include "cli/ProgressDisplay.h"

#include "cli/ProgressLine.h"

#include <fmt/format.h>

#include <algorithm>
#include <ostream>

namespace Cli {

ProgressDisplay::ProgressDisplay(std::ostream& out, bool terminal, std::size_t width, std::uint32_t totalBytes,
                                 std::string deviceName)
    : out_(out), terminal_(terminal), width_(std::max<std::size_t>(width, 20) - 1), totalBytes_(totalBytes)
    , deviceName_(std::move(deviceName))
{
}

void ProgressDisplay::show(eUpdatePhase phase, std::uint32_t written)
{
    const PhaseNames names = phaseNames(phase, written, totalBytes_, deviceName_);
    const auto now = std::chrono::steady_clock::now();
    if (names.name != shownPhase_) {
        shownPhase_ = names.name;
        phaseStart_ = now;
        if (!terminal_) {
            writePhasesUpTo(phase);
            out_ << names.text << '\n' << std::flush;
        }
    }
    if (!terminal_) {
        return;
    }
    const long seconds = std::chrono::duration_cast<std::chrono::seconds>(now - phaseStart_).count();
    std::string line = progressLine(names, written, totalBytes_, tick_++, seconds, width_);
    drawnWidth_ = std::max(drawnWidth_, line.size());
    line.resize(drawnWidth_, ' ');
    out_ << '\r' << line << std::flush;
    lineOpen_ = true;
}

// A phase shorter than a poll still gets its line.
void ProgressDisplay::writePhasesUpTo(eUpdatePhase phase)
{
    if (written_) {
        for (auto skipped = static_cast<int>(*written_) + 1; skipped < static_cast<int>(phase); ++skipped) {
            out_ << phaseNames(static_cast<eUpdatePhase>(skipped), 0, totalBytes_, deviceName_).text << '\n';
        }
    }
    written_ = phase;
}

void ProgressDisplay::note(std::string_view text)
{
    close();
    out_ << text << '\n' << std::flush;
}

void ProgressDisplay::close()
{
    if (lineOpen_) {
        out_ << '\n' << std::flush;
        lineOpen_ = false;
        drawnWidth_ = 0;
    }
}

ProgressJson::ProgressJson(std::ostream& out, std::ostream& err, std::uint32_t totalBytes)
    : out_(out), err_(err), totalBytes_(totalBytes)
{
}

void ProgressJson::show(eUpdatePhase phase, std::uint32_t written)
{
    const std::string line = fmt::format(R"({{"phase":"{}","written":{},"total":{}}})",
                                         phaseNames(phase, written, totalBytes_, {}).name, written, totalBytes_);
    if (line != shown_) {
        out_ << line << '\n' << std::flush;
        shown_ = line;
    }
}

void ProgressJson::note(std::string_view text)
{
    err_ << text << '\n' << std::flush;
}

} // namespace Cli
