// Interruptions during an update: a second one ends the watch at once while
// the device's side goes on.
#include "cli/UpdateRun.h"
#include "cli/UpdateWatch.h"

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <string>
#include <thread>
#include <vector>

namespace {

class RecordingView final : public Cli::ProgressView {
public:
    void show(eUpdatePhase, std::uint32_t) override {}
    void note(std::string_view text) override { notes.emplace_back(text); }
    void close() override {}
    std::vector<std::string> notes;
};

TEST(WatchUpdate, ASecondInterruptionEndsTheWatchWhileTheWorkerStillWrites)
{
    UpdateResult worker;
    std::atomic<bool> started{false};
    UpdaterDescription description;
    description.enterUpdateMode = [] { return true; };
    description.startUpdate = [&worker, &started](UpdateResult& result) {
        worker = result;
        started.store(true);
        return true;
    };
    const Cli::UpdateProgress progress{[] { return 100u; }, 1000, [] { return eUpdatePhase::WritingImageA; },
                                       [] { return std::nullopt; }};
    Basalt::InterruptWatch interrupts;
    RecordingView view;
    Cli::UpdateRun run(description, progress, true);
    while (!started.load()) {
        std::this_thread::yield();
    }
    ::raise(SIGINT);
    ::raise(SIGINT);
    const auto end = Cli::watchUpdate(run, progress, interrupts, view, [](eUpdatePhase phase, int signal) {
        return "warning " + std::to_string(static_cast<int>(phase)) + " " + std::to_string(signal);
    });
    EXPECT_TRUE(end.interrupted);
    EXPECT_EQ(end.signal, SIGINT);
    EXPECT_EQ(end.phase, eUpdatePhase::WritingImageA);
    EXPECT_EQ(view.notes, (std::vector<std::string>{"warning 2 " + std::to_string(SIGINT)}));
    EXPECT_FALSE(run.end());
    worker.store(UpdateResult::WriteFailed);  // lets the run end, so that it can be joined
}

} // namespace
