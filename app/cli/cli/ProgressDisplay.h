#pragma once

#include "cli/UpdateWatch.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

namespace Cli {

// Shows an update for people, on standard error. On a terminal one line is
// redrawn in place and fitted to its width, with a spinner during the
// waits; otherwise (a log or a pipe) each phase is written once, as a line
// of its own.
class ProgressDisplay final : public ProgressView {
public:
    ProgressDisplay(std::ostream& out, bool terminal, std::size_t width, std::uint32_t totalBytes,
                    std::string deviceName);

    void show(eUpdatePhase phase, std::uint32_t written) override;
    void note(std::string_view text) override;
    void close() override;

private:
    void writePhasesUpTo(eUpdatePhase phase);

    std::ostream& out_;
    bool terminal_;
    std::size_t width_;
    std::uint32_t totalBytes_;
    std::string deviceName_;
    std::string shownPhase_;  // the name of the phase shown last
    std::optional<eUpdatePhase> written_;  // not on a terminal: the last phase written
    std::chrono::steady_clock::time_point phaseStart_;
    unsigned tick_ = 0;
    bool lineOpen_ = false;       // a redrawn line ends the terminal output, without its line end
    std::size_t drawnWidth_ = 0;  // the longest line drawn in place, which a new line must cover
};

// Shows an update for scripts: on standard output one JSON object a line,
// {"phase":…,"written":…,"total":…}, whenever the phase or the bytes change;
// notes go to standard error.
class ProgressJson final : public ProgressView {
public:
    ProgressJson(std::ostream& out, std::ostream& err, std::uint32_t totalBytes);

    void show(eUpdatePhase phase, std::uint32_t written) override;
    void note(std::string_view text) override;
    void close() override {}

private:
    std::ostream& out_;
    std::ostream& err_;
    std::uint32_t totalBytes_;
    std::string shown_;
};

} // namespace Cli
