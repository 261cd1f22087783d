#include "cli/UpdateWatch.h"

#include "cli/ProgressDisplay.h"

#include <thread>

namespace Cli {
namespace {

constexpr auto PollInterval = std::chrono::milliseconds(100);

// True when the Ctrl-C presses since the last poll confirm a stop; a press
// that does not confirm prints the warning.
bool stopConfirmed(InterruptWatch& interrupts, ConfirmByRepeat& confirm, const StopRule& stopRule,
                   ProgressDisplay& display)
{
    for (int presses = interrupts.takeInterrupts(); presses > 0; --presses) {
        if (confirm.press(ConfirmByRepeat::Clock::now())) {
            return true;
        }
        display.note(stopRule.warning);
    }
    return false;
}

} // namespace

eWatchEnd watchUpdate(const UpdateResult& result, const UpdateProgress& progress, const StopRule& stopRule,
                      InterruptWatch& interrupts, Console& console)
{
    ProgressDisplay display(console, progress.totalBytes);
    ConfirmByRepeat confirm(stopRule.window);
    display.show(progress.writtenBytes());
    while (result.load() == UpdateResult::Running) {
        std::this_thread::sleep_for(PollInterval);
        if (stopConfirmed(interrupts, confirm, stopRule, display)) {
            display.finish(progress.writtenBytes(), "stopped");
            return eWatchEnd::Stopped;
        }
        display.show(progress.writtenBytes());
    }
    display.finish(progress.writtenBytes(), result.load() > 0 ? "done" : "failed");
    return eWatchEnd::Finished;
}

} // namespace Cli
