#include "basalt/Clock.h"
#include "basalt/Event.h"
#include "basalt/SystemClock.h"
#include "basalt/VirtualClock.h"

#include <gtest/gtest.h>

#include <boost/thread/thread.hpp>

#include <future>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
using Basalt::VirtualClock;

TEST(VirtualClock, SleepsMoveTimeForwardAtOnce)
{
    VirtualClock clock;
    const auto start = clock.now();
    const auto realStart = std::chrono::steady_clock::now();
    clock.sleepFor(5000ms);
    clock.interruptibleSleepFor(500ms);
    EXPECT_EQ(clock.now() - start, 5500ms);
    EXPECT_LT(std::chrono::steady_clock::now() - realStart, 1s);
}

TEST(VirtualClock, ScheduledActionsRunInTimeOrderAtTheirMoment)
{
    VirtualClock clock;
    const auto start = clock.now();
    std::vector<std::pair<int, Basalt::Clock::Duration>> runs;
    auto record = [&](int id) { return [&, id] { runs.emplace_back(id, clock.now() - start); }; };
    clock.schedule(300ms, record(2));
    clock.schedule(100ms, record(1));
    clock.schedule(300ms, record(3));  // same moment: in order of scheduling
    clock.schedule(900ms, record(4));

    clock.sleepFor(500ms);
    EXPECT_EQ(runs, (std::vector<std::pair<int, Basalt::Clock::Duration>>{{1, 100ms}, {2, 300ms}, {3, 300ms}}));
    EXPECT_EQ(clock.now() - start, 500ms);
    clock.advance(400ms);
    EXPECT_EQ(runs.size(), 4u);
}

TEST(VirtualClock, ActionsMayScheduleActionsInsideTheSameSleep)
{
    VirtualClock clock;
    int ran = 0;
    clock.schedule(100ms, [&] { clock.schedule(100ms, [&] { ++ran; }); });
    clock.sleepFor(250ms);
    EXPECT_EQ(ran, 1);
}

TEST(VirtualClock, AnActionMaySleepWithoutTurningTimeBack)
{
    VirtualClock clock;
    const auto start = clock.now();
    clock.schedule(100ms, [&] { clock.sleepFor(1000ms); });
    clock.sleepFor(200ms);
    EXPECT_EQ(clock.now() - start, 1100ms);
}

TEST(VirtualClock, InterruptibleSleepEndsAtTheMomentOfAnInterrupt)
{
    VirtualClock clock;
    const auto start = clock.now();
    bool interrupted = false;
    bool laterActionRan = false;
    std::promise<void> started;
    boost::thread sleeper;
    sleeper = boost::thread([&, go = started.get_future()]() mutable {
        go.wait();
        // Stands for the user confirming the quit question during the sleep.
        clock.schedule(1000ms, [&] { sleeper.interrupt(); });
        clock.schedule(2000ms, [&] { laterActionRan = true; });
        try {
            clock.interruptibleSleepFor(5000ms);
        } catch (const boost::thread_interrupted&) {
            interrupted = true;
        }
    });
    started.set_value();
    sleeper.join();
    EXPECT_TRUE(interrupted);
    EXPECT_FALSE(laterActionRan);
    EXPECT_EQ(clock.now() - start, 1000ms);
}

TEST(VirtualClock, PlainSleepIgnoresInterrupts)
{
    VirtualClock clock;
    bool completed = false;
    boost::thread sleeper([&] {
        clock.sleepFor(100ms);
        completed = true;
    });
    sleeper.interrupt();
    sleeper.join();
    EXPECT_TRUE(completed);
}

TEST(VirtualClock, WaitEndsAtTheMomentAnEventIsSet)
{
    VirtualClock clock;
    const auto start = clock.now();
    Basalt::Event done;
    Basalt::Event cancel;
    clock.schedule(300ms, [&] { done.set(); });
    EXPECT_EQ(clock.waitFor(done, &cancel, 500ms), Basalt::Clock::FirstSet);
    EXPECT_EQ(clock.now() - start, 300ms);

    done.reset();
    clock.schedule(100ms, [&] { cancel.set(); });
    EXPECT_EQ(clock.waitFor(done, &cancel, 500ms), Basalt::Clock::SecondSet);
    EXPECT_EQ(clock.now() - start, 400ms);

    cancel.reset();
    clock.schedule(800ms, [&] { done.set(); });
    EXPECT_EQ(clock.waitFor(done, nullptr, 500ms), Basalt::Clock::TimedOut);
    EXPECT_EQ(clock.now() - start, 900ms);
    EXPECT_FALSE(done.isSet());
}

TEST(SystemClock, ScheduledActionsRunLaterOnTheTimerThreadAndWakeAWait)
{
    Basalt::SystemClock clock;
    Basalt::Event done;
    std::thread::id ranOn;
    const auto start = clock.now();
    clock.schedule(20ms, [&] {
        ranOn = std::this_thread::get_id();
        done.set();
    });
    clock.schedule(1h, [] { FAIL() << "dropped when the clock is destroyed"; });
    EXPECT_EQ(clock.waitFor(done, nullptr, 10s), Basalt::Clock::FirstSet);
    EXPECT_GE(clock.now() - start, 20ms);
    EXPECT_NE(ranOn, std::this_thread::get_id());

    Basalt::Event never;
    EXPECT_EQ(clock.waitFor(never, nullptr, 10ms), Basalt::Clock::TimedOut);
}

TEST(SystemClock, InterruptibleSleepIsEndedByInterrupt)
{
    Basalt::SystemClock clock;
    bool interrupted = false;
    const auto start = std::chrono::steady_clock::now();
    boost::thread sleeper([&] {
        try {
            clock.interruptibleSleepFor(10s);
        } catch (const boost::thread_interrupted&) {
            interrupted = true;
        }
    });
    sleeper.interrupt();
    sleeper.join();
    EXPECT_TRUE(interrupted);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
}

TEST(ScopedClock, InstallsAndRestoresTheProcessClock)
{
    Basalt::Clock& original = Basalt::clock();
    {
        VirtualClock virtualClock;
        Basalt::ScopedClock scope(virtualClock);
        EXPECT_EQ(&Basalt::clock(), &virtualClock);
    }
    EXPECT_EQ(&Basalt::clock(), &original);
}

} // namespace
