#pragma once

#include "logic/UpdatePhase.h"

#include <basalt/InterruptWatch.h>
#include <conduit2/DfuStatus.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace Cli {

class UpdateRun;
struct RunEnd;

// What the program reads of a running update's worker; any thread may call these.
struct UpdateProgress {
    std::function<std::uint32_t()> writtenBytes;  // image bytes the device has accepted so far
    std::uint32_t totalBytes = 0;
    std::function<eUpdatePhase()> workerPhase;
    // Once the worker reported a write failure: the device's status then.
    std::function<std::optional<Conduit2::DfuStatus>()> failureStatus;
};

// Shows an update as it goes: its phase and bytes, and notes of its own.
class ProgressView {
public:
    virtual ~ProgressView() = default;
    virtual void show(eUpdatePhase phase, std::uint32_t written) = 0;
    virtual void note(std::string_view text) = 0;
    // Ends what show() left open.
    virtual void close() = 0;
};

struct WatchEnd {
    bool interrupted = false;  // a second interruption ended the watch; the run goes on
    eUpdatePhase phase = eUpdatePhase::RestartingIntoUpdateMode;
    int signal = 0;            // the interrupting signal
};

// Follows `run` every 100 ms until it ends, showing it in `view`. The first
// interruption only shows `warning(phase)`, which tells what a second one
// would leave the device in; a second one ends the watch at once.
WatchEnd watchUpdate(const UpdateRun& run, const UpdateProgress& progress, Basalt::InterruptWatch& interrupts,
                     ProgressView& view, const std::function<std::string(eUpdatePhase, int signal)>& warning);

} // namespace Cli
