#include "ShellTestSupport.h"

#include "casement/FileDescriptor.h"
#include "casement/MainContextPump.h"
#include "casement/MessageLoop.h"
#include "casement/init_casement.h"

#include <gtest/gtest.h>

#include <SDL.h>
#include <glib-unix.h>
#include <glib.h>

#include <chrono>
#include <condition_variable>
#include <ctime>
#include <functional>
#include <future>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

namespace {

using Casement::MainContextPump;
using Casement::MessageLoop;
using namespace std::chrono_literals;

constexpr int Served = 7;
constexpr int TimedOut = 99;

// What a GLib source saw when it ran.
struct tProbe {
    std::thread::id thread;
    int calls = 0;
};

gboolean quitOnce(gpointer data)
{
    auto* probe = static_cast<tProbe*>(data);
    probe->thread = std::this_thread::get_id();
    ++probe->calls;
    MessageLoop::postQuit(Served);
    return G_SOURCE_REMOVE;
}

gboolean readAndQuit(gint fd, GIOCondition, gpointer data)
{
    char byte = 0;
    [[maybe_unused]] const auto got = ::read(fd, &byte, 1);
    return quitOnce(data);
}

std::chrono::nanoseconds processCpuTime()
{
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

// A source that never becomes ready and counts the GLib cycles it takes part in.
struct tCountingSource {
    GSource base;
    int prepares;
};

gboolean countPrepare(GSource* source, gint* timeout)
{
    ++reinterpret_cast<tCountingSource*>(source)->prepares;
    *timeout = -1;
    return FALSE;
}

gboolean neverDispatched(GSource*, GSourceFunc, gpointer)
{
    return G_SOURCE_CONTINUE;
}

GSourceFuncs countingFuncs{countPrepare, nullptr, neverDispatched, nullptr, nullptr, nullptr};

class MainContextPumpTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Casement::initCasement(0x04010000, 0x000F0001));
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        ASSERT_TRUE(MainContextPump::start());
    }
    void TearDown() override { Casement::shutdownCasement(); }

    // The loop's exit code, or TimedOut when nothing ended it within seconds.
    int runGuarded()
    {
        std::mutex lock;
        std::condition_variable ended;
        bool done = false;
        std::thread watchdog([&] {
            std::unique_lock guard(lock);
            if (!ended.wait_for(guard, 5s, [&] { return done; })) {
                MessageLoop::postQuit(TimedOut);
            }
        });
        const int result = MessageLoop::run(timers, quitFlag);
        {
            const std::lock_guard guard(lock);
            done = true;
        }
        ended.notify_one();
        watchdog.join();
        return result;
    }

    ShellTest::tBridgeLog bridge;
    Casement::EventTimerManager timers{ShellTest::fakeBridge(bridge)};
    bool quitFlag = false;
    std::vector<std::string> log;
};

// Each source ends a loop that waits with no window and no SDL event of its
// own; only the pump's wake-up can bring the loop to it.
TEST_F(MainContextPumpTest, DispatchesEverySourceOnTheLoopThread)
{
    int ends[2];
    ASSERT_EQ(::pipe2(ends, O_CLOEXEC), 0);
    const Casement::DETAIL::FileDescriptor readEnd(ends[0]), writeEnd(ends[1]);
    ShellTest::Recorder target("t", log);
    auto later = [](std::function<void()> action) {
        return std::thread([action] {
            std::this_thread::sleep_for(20ms);
            action();
        });
    };
    const struct {
        const char* name;
        std::function<std::thread(tProbe&)> attach;
    } cases[] = {
        {"idle", [](tProbe& probe) { g_idle_add(quitOnce, &probe); return std::thread(); }},
        {"timeout", [](tProbe& probe) { g_timeout_add(20, quitOnce, &probe); return std::thread(); }},
        {"descriptor written by another thread",
         [&](tProbe& probe) {
             g_unix_fd_add(readEnd.get(), G_IO_IN, readAndQuit, &probe);
             return later([&] { [[maybe_unused]] const auto put = ::write(writeEnd.get(), "x", 1); });
         }},
        {"idle attached by another thread",
         [&](tProbe& probe) {
             return later([&probe] {
                 g_idle_add(quitOnce, &probe);
                 g_main_context_wakeup(nullptr);
             });
         }},
        {"timeout attached by a command on the loop thread",
         [&](tProbe& probe) {
             target.onEvent = [&probe](std::uint32_t, void*) { g_timeout_add(10, quitOnce, &probe); };
             return later([&] { MessageLoop::postCommand(&target, 1); });
         }},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.name);
        tProbe probe;
        std::thread helper = entry.attach(probe);
        EXPECT_EQ(runGuarded(), Served);
        if (helper.joinable()) {
            helper.join();
        }
        EXPECT_EQ(probe.calls, 1);
        EXPECT_EQ(probe.thread, std::this_thread::get_id());
    }
}

TEST_F(MainContextPumpTest, AnIdleLoopStaysAsleepUntilTheContextHasSomethingDue)
{
    GSource* counting = g_source_new(&countingFuncs, sizeof(tCountingSource));
    reinterpret_cast<tCountingSource*>(counting)->prepares = 0;
    g_source_attach(counting, nullptr);
    tProbe probe;
    g_timeout_add(300, quitOnce, &probe);

    const auto cpuBefore = processCpuTime();
    EXPECT_EQ(runGuarded(), Served);
    const auto cpuUsed = processCpuTime() - cpuBefore;

    // A cycle before the first wait, the time-out's, and the one after it.
    EXPECT_LE(reinterpret_cast<tCountingSource*>(counting)->prepares, 4);
    EXPECT_LT(cpuUsed, 60ms);
    g_source_destroy(counting);
    g_source_unref(counting);
}

TEST_F(MainContextPumpTest, ABusySourceLeavesRoomForSdlEventsAndIsServedWithoutThem)
{
    constexpr int Turns = 50;
    int busyTurns = 0;
    const guint busy = g_idle_add(
        [](gpointer data) -> gboolean {
            if (++*static_cast<int*>(data) < Turns) {
                return G_SOURCE_CONTINUE;
            }
            MessageLoop::postQuit(Served);
            return G_SOURCE_REMOVE;
        },
        &busyTurns);
    int turnsAtCommand = -1;
    ShellTest::Recorder target("t", log);
    target.onEvent = [&](std::uint32_t, void*) { turnsAtCommand = busyTurns; };
    MessageLoop::postCommand(&target, 1);

    EXPECT_EQ(runGuarded(), Served);
    EXPECT_EQ(busyTurns, Turns);
    EXPECT_GE(turnsAtCommand, 1);
    EXPECT_LT(turnsAtCommand, Turns);
    if (busyTurns < Turns) {
        g_source_remove(busy);
    }
}

TEST_F(MainContextPumpTest, StopEndsAWaitingWatcherAndHandsTheContextBack)
{
    auto acquiredElsewhere = [] {
        return std::async(std::launch::async, [] {
                   GMainContext* context = g_main_context_default();
                   const bool acquired = g_main_context_acquire(context);
                   if (acquired) {
                       g_main_context_release(context);
                   }
                   return acquired;
               })
            .get();
    };
    EXPECT_TRUE(MainContextPump::start());
    EXPECT_FALSE(acquiredElsewhere());

    // The watcher now waits for a minute-long time-out.
    const guint distant = g_timeout_add_seconds(60, [](gpointer) -> gboolean { return G_SOURCE_REMOVE; }, nullptr);
    MainContextPump::serve();
    const auto before = std::chrono::steady_clock::now();
    MainContextPump::stop();
    EXPECT_LT(std::chrono::steady_clock::now() - before, 1s);
    EXPECT_FALSE(MainContextPump::isRunning());
    // Started twice, released once: the context is free all the same.
    EXPECT_TRUE(acquiredElsewhere());
    MainContextPump::stop();
    g_source_remove(distant);

    std::promise<void> held, done;
    std::thread owner([&] {
        g_main_context_acquire(g_main_context_default());
        held.set_value();
        done.get_future().wait();
        g_main_context_release(g_main_context_default());
    });
    held.get_future().wait();
    EXPECT_FALSE(MainContextPump::start());
    EXPECT_FALSE(MainContextPump::isRunning());
    done.set_value();
    owner.join();

    EXPECT_TRUE(MainContextPump::start());
    Casement::shutdownCasement();
    EXPECT_FALSE(MainContextPump::isRunning());
}

} // namespace
