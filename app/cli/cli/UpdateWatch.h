#pragma once

#include "cli/Console.h"
#include "cli/InterruptWatch.h"

#include "logic/UpdateResult.h"

#include <cstdint>
#include <functional>
#include <string>

namespace Cli {

// What the watch reads of a running update.
struct UpdateProgress {
    std::function<std::uint32_t()> writtenBytes;  // image bytes the device has accepted so far
    std::uint32_t totalBytes = 0;
};

// Ctrl-C while the worker writes is not an interruption: a press prints
// `warning`; only a second press within `window` of it stops the watch.
struct StopRule {
    std::string warning;
    ConfirmByRepeat::Clock::duration window;
};

enum class eWatchEnd { Finished, Stopped };

// Polls the running update every 100 ms and shows its progress until
// `result` is no longer Running (Finished) or the user confirms a stop
// (Stopped; the worker still runs then). `interrupts` must exist for the
// whole update.
eWatchEnd watchUpdate(const UpdateResult& result, const UpdateProgress& progress, const StopRule& stopRule,
                      InterruptWatch& interrupts, Console& console);

} // namespace Cli
