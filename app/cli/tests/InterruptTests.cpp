// Interruptions during an update: which signals count, and that a second one
// ends the watch at once while the device's side goes on.
#include "cli/UpdateRun.h"
#include "cli/UpdateWatch.h"

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <string>
#include <thread>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace {

TEST(InterruptWatch, CountsSignalsFromOutsideButNotAWriteIntoAClosedPipe)
{
    struct sigaction before {};
    sigaction(SIGTERM, nullptr, &before);
    {
        Cli::InterruptWatch watch;
        for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
            ::raise(signal);
        }
        EXPECT_EQ(watch.takeInterrupts(), 3);
        EXPECT_EQ(watch.lastSignal(), SIGHUP);

        int pipeEnds[2];
        ASSERT_EQ(::pipe(pipeEnds), 0);
        ::close(pipeEnds[0]);
        EXPECT_EQ(::write(pipeEnds[1], "x", 1), -1);
        ::close(pipeEnds[1]);
        EXPECT_EQ(watch.takeInterrupts(), 0) << "the program's own write into a closed pipe";

        const pid_t child = ::fork();
        if (child == 0) {
            ::kill(::getppid(), SIGPIPE);
            ::_exit(0);
        }
        ::waitpid(child, nullptr, 0);
        EXPECT_EQ(watch.takeInterrupts(), 1) << "SIGPIPE sent by another process";
    }
    struct sigaction after {};
    sigaction(SIGTERM, nullptr, &after);
    EXPECT_EQ(after.sa_handler, before.sa_handler);
}

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
    Cli::InterruptWatch interrupts;
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
