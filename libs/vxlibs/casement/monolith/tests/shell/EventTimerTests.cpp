#include "ShellTestSupport.h"

#include "casement/EventTimerManager.h"
#include "casement/ShellEvents.h"

#include "basalt/VirtualClock.h"

#include <gtest/gtest.h>

namespace {

using Casement::EventTimerManager;
using ShellTest::Recorder;

std::vector<int> priorities(const EventTimerManager& manager)
{
    std::vector<int> result;
    for (const auto* entry = manager.first(); entry != nullptr; entry = entry->next) {
        result.push_back(entry->priority);
    }
    return result;
}

TEST(EventTimerInterval, RoundsToTheNearestMultipleOfThePeriod)
{
    EXPECT_EQ(EventTimerManager::roundInterval(0), 40);
    EXPECT_EQ(EventTimerManager::roundInterval(40), 40);
    EXPECT_EQ(EventTimerManager::roundInterval(60), 40);
    EXPECT_EQ(EventTimerManager::roundInterval(61), 80);
    EXPECT_EQ(EventTimerManager::roundInterval(100), 80);
    EXPECT_EQ(EventTimerManager::roundInterval(101), 120);
    EXPECT_EQ(EventTimerManager::roundInterval(1000), 1000);
}

class EventTimers : public ::testing::Test {
protected:
    ShellTest::tBridgeLog bridge;
    std::vector<std::string> log;
    EventTimerManager manager{ShellTest::fakeBridge(bridge)};
};

TEST_F(EventTimers, HigherPrioritiesTickFirstAndEqualOnesInOrderOfRegistration)
{
    Recorder a("a", log), b("b", log), c("c", log), d("d", log), e("e", log);
    manager.addTimer(&a, 0, 0);
    manager.addTimer(&b, 0, 5);
    manager.addTimer(&c, 0, 0);
    manager.addTimer(&d, 0, 5);
    manager.addTimer(&e, 0, -10);
    EXPECT_EQ(priorities(manager), (std::vector<int>{5, 5, 0, 0, -10}));

    manager.tick();
    EXPECT_EQ(log, (std::vector<std::string>{"b:2", "d:2", "a:2", "c:2", "e:2"}));
}

TEST_F(EventTimers, EachEntryTicksAtItsOwnIntervalWithItsRecord)
{
    Recorder fast("fast", log), slow("slow", log);
    EventTimerManager::tEntry* slowEntry = manager.addTimer(&slow, 100, 0);
    manager.addTimer(&fast, 0, 0);
    slow.onEvent = [&](std::uint32_t, void* payload) {
        const auto* record = static_cast<EventTimerManager::tTickEvent*>(payload);
        EXPECT_EQ(record->entry, slowEntry);
        EXPECT_EQ(record->interval, 80);
    };
    for (int tick = 0; tick < 4; ++tick) {
        manager.tick();
    }
    EXPECT_EQ(log, (std::vector<std::string>{"fast:2", "slow:2", "fast:2", "fast:2", "slow:2",
                                             "fast:2"}));
}

TEST_F(EventTimers, AnEntryRemovedInItsOwnTickGoesAfterItAndTheOthersStillTick)
{
    Recorder first("first", log), second("second", log), third("third", log);
    EventTimerManager::tEntry* firstEntry = manager.addTimer(&first, 0, 0);
    manager.addTimer(&second, 0, 0);
    manager.addTimer(&third, 0, 0);
    first.onEvent = [&](std::uint32_t, void*) {
        manager.removeTimer(firstEntry);
        EXPECT_TRUE(firstEntry->removeLater);
        EXPECT_EQ(manager.first(), firstEntry);
    };

    manager.tick();
    EXPECT_EQ(log, (std::vector<std::string>{"first:2", "second:2", "third:2"}));
    EXPECT_EQ(priorities(manager).size(), 2u);

    log.clear();
    manager.tick();
    EXPECT_EQ(log, (std::vector<std::string>{"second:2", "third:2"}));
}

TEST_F(EventTimers, AnEntryRemovedByAnotherTargetIsNotTickedAnyMore)
{
    Recorder first("first", log), second("second", log);
    manager.addTimer(&first, 0, 0);
    EventTimerManager::tEntry* secondEntry = manager.addTimer(&second, 0, 0);
    first.onEvent = [&](std::uint32_t, void*) { manager.removeTimer(secondEntry); };

    manager.tick();
    EXPECT_EQ(log, (std::vector<std::string>{"first:2"}));
}

TEST_F(EventTimers, ThePlatformTimerRunsOnlyWhileEntriesExist)
{
    Recorder a("a", log), b("b", log);
    EXPECT_FALSE(bridge.running);
    EventTimerManager::tEntry* first = manager.addTimer(&a, 0, 0);
    EXPECT_TRUE(bridge.running);
    EXPECT_EQ(bridge.period, 40);
    EventTimerManager::tEntry* second = manager.addTimer(&b, 0, 0);
    EXPECT_EQ(bridge.starts, 1);

    manager.removeTimer(first);
    EXPECT_TRUE(bridge.running);
    // The last entry removes itself while it is ticked: the timer stops after the tick.
    b.onEvent = [&](std::uint32_t, void*) {
        manager.removeTimer(second);
        EXPECT_TRUE(bridge.running);
    };
    manager.tick();
    EXPECT_FALSE(bridge.running);
    EXPECT_EQ(bridge.stops, 1);

    manager.addTimer(&a, 0, 0);
    EXPECT_EQ(bridge.starts, 2);
}

TEST_F(EventTimers, AnEntryFarPastItsMomentSkipsItsEventAndKeepsItsPhase)
{
    Recorder target("t", log);
    EventTimerManager::tEntry& entry = *manager.addTimer(&target, 80, 0);

    manager.tickEntry(entry, 50);
    EXPECT_EQ(entry.remaining, 30);
    EXPECT_TRUE(log.empty());

    // Overshoot 40: twice that exceeds the 70 ms elapsed, so no event.
    manager.tickEntry(entry, 70);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(entry.remaining, 40);

    // Overshoot 20 of 60 elapsed: the event is sent and the interval restarts.
    manager.tickEntry(entry, 60);
    EXPECT_EQ(log.size(), 1u);
    EXPECT_EQ(entry.remaining, 80);

    // An overshoot of exactly the interval restarts at the interval, not at 0.
    manager.tickEntry(entry, 50);
    manager.tickEntry(entry, 110);
    EXPECT_EQ(log.size(), 1u);
    EXPECT_EQ(entry.remaining, 80);
    EXPECT_EQ(entry.inDispatch, 0);
}

TEST_F(EventTimers, TicksWhenStarvedForMoreThanTwoPeriods)
{
    Basalt::VirtualClock clock;
    const Basalt::ScopedClock installed(clock);
    Recorder target("t", log);
    manager.addTimer(&target, 0, 0);
    manager.tick();
    const auto ticked = manager.lastTick();

    clock.advance(std::chrono::milliseconds(80));
    manager.tickIfStarved();
    EXPECT_EQ(manager.lastTick(), ticked);

    clock.advance(std::chrono::milliseconds(1));
    manager.tickIfStarved();
    EXPECT_EQ(manager.lastTick(), ticked + 810'000);
    EXPECT_EQ(log.size(), 2u);
}

} // namespace
