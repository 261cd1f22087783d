#include "cli/UpdateWatch.h"

#include "cli/UpdateRun.h"

#include <chrono>
#include <thread>

namespace Cli {
namespace {

constexpr auto PollInterval = std::chrono::milliseconds(100);

} // namespace

WatchEnd watchUpdate(const UpdateRun& run, const UpdateProgress& progress, Basalt::InterruptWatch& interrupts,
                     ProgressView& view, const std::function<std::string(eUpdatePhase, int signal)>& warning)
{
    bool warned = false;
    for (;;) {
        // Read after the end, the phase is the one the run ended in.
        const bool ended = run.end().has_value();
        const eUpdatePhase phase = run.phase();
        view.show(phase, progress.writtenBytes());
        if (ended) {
            view.close();
            return {false, phase, 0};
        }
        for (int presses = interrupts.takeInterrupts(); presses > 0; --presses) {
            if (warned) {
                view.close();
                return {true, phase, interrupts.lastSignal()};
            }
            view.note(warning(phase, interrupts.lastSignal()));
            warned = true;
        }
        std::this_thread::sleep_for(PollInterval);
    }
}

} // namespace Cli
