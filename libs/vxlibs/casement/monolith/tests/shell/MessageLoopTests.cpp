#include "ShellTestSupport.h"

#include "casement/AsyncEventTarget.h"
#include "casement/EventTarget.h"
#include "casement/EventTimerManagerSdlBridge.h"
#include "casement/FrameworkEvents.h"
#include "casement/MessageLoop.h"
#include "casement/ShellEvents.h"
#include "casement/init_casement.h"

#include "basalt/VirtualClock.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <thread>

namespace {

using Casement::EventTimerManager;
using Casement::MessageLoop;
using ShellTest::Recorder;

class MessageLoopTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Casement::initCasement(0x04010000, 0x000F0001));
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
    void TearDown() override { Casement::shutdownCasement(); }

    int run() { return MessageLoop::run(manager, quitFlag); }

    ShellTest::tBridgeLog bridge;
    EventTimerManager manager{ShellTest::fakeBridge(bridge)};
    bool quitFlag = false;
    std::vector<std::string> log;
};

TEST_F(MessageLoopTest, EndsWithThePostedQuitAfterTheEventsQueuedBeforeIt)
{
    Recorder target("t", log);
    MessageLoop::postCommand(&target, 7);
    MessageLoop::postQuit(3);
    MessageLoop::postCommand(&target, 8);
    EXPECT_EQ(run(), 3);
    EXPECT_EQ(log, (std::vector<std::string>{"t:1200"}));
}

TEST_F(MessageLoopTest, ASetQuitFlagEndsTheLoopAfterTheDispatchedEvent)
{
    Recorder target("t", log);
    target.onEvent = [&](std::uint32_t, void* payload) {
        EXPECT_EQ(*static_cast<std::uint32_t*>(payload), 30002u);
        quitFlag = true;
    };
    MessageLoop::postCommand(&target, Casement::QuitCommand);
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(log.size(), 1u);
    // One quit only: nothing is left for a later loop.
    EXPECT_EQ(SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT), 0);
}

TEST_F(MessageLoopTest, SdlQuitEndsTheLoop)
{
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    EXPECT_EQ(run(), 0);
}

TEST_F(MessageLoopTest, RevokedCommandsAreNotDelivered)
{
    Recorder gone("gone", log), kept("kept", log);
    MessageLoop::postCommand(&gone, 1);
    MessageLoop::postCommand(&kept, 2);
    MessageLoop::revokeCommands(&gone);
    MessageLoop::postQuit(0);
    run();
    EXPECT_EQ(log, (std::vector<std::string>{"kept:1200"}));
}

TEST_F(MessageLoopTest, AFloodOfPrivateEventsCannotStarveTheTimers)
{
    Basalt::VirtualClock clock;
    const Basalt::ScopedClock installed(clock);
    std::vector<std::chrono::steady_clock::time_point> ticks;
    Recorder timerTarget("timer", log);
    timerTarget.onEvent = [&](std::uint32_t, void*) { ticks.push_back(clock.now()); };
    manager.addTimer(&timerTarget, 0, 0);
    manager.tick();
    ticks.clear();

    // Every command takes 30 ms and posts the next; no timer event ever arrives.
    int remaining = 40;
    Recorder busy("busy", log);
    busy.onEvent = [&](std::uint32_t, void*) {
        clock.advance(std::chrono::milliseconds(30));
        if (--remaining > 0) {
            MessageLoop::postCommand(&busy, 1);
        } else {
            quitFlag = true;
        }
    };
    MessageLoop::postCommand(&busy, 1);
    run();

    ASSERT_GE(ticks.size(), 12u);
    for (std::size_t index = 1; index < ticks.size(); ++index) {
        EXPECT_LE(ticks[index] - ticks[index - 1], std::chrono::milliseconds(90));
    }
}

TEST_F(MessageLoopTest, PostsFromOtherThreadsReachTheirTargetOnTheLoopThread)
{
    struct Target : Casement::EventTarget {
        bool onCommand(std::uint32_t code, void* data) override
        {
            received.push_back(code == Casement::CommandEvent ? *static_cast<std::uint32_t*>(data) : 0);
            onLoopThread = std::this_thread::get_id() == loopThread;
            return true;
        }
        std::vector<std::uint32_t> received;
        std::thread::id loopThread = std::this_thread::get_id();
        bool onLoopThread = false;
    } target;
    Casement::AsyncEventTarget::add(42, &target);

    std::thread poster([] {
        EXPECT_TRUE(Casement::AsyncEventTarget::post(501, 42));
        EXPECT_TRUE(Casement::AsyncEventTarget::post(502, 43));
        MessageLoop::postQuit(0);
    });
    poster.join();
    run();
    EXPECT_EQ(target.received, (std::vector<std::uint32_t>{501}));
    EXPECT_TRUE(target.onLoopThread);
    EXPECT_EQ(Casement::AsyncEventTarget::className().rfind("VXAsyncEventTargetWndClass0x", 0), 0u);
}

TEST_F(MessageLoopTest, TheSdlTimerTicksThroughTheLoopUntilStopped)
{
    Casement::EventTimerManagerSdlBridge* sdlBridge = nullptr;
    EventTimerManager sdlTimers([&](EventTimerManager& owner) {
        auto made = std::make_unique<Casement::EventTimerManagerSdlBridge>(owner);
        sdlBridge = made.get();
        return made;
    });
    Recorder target("t", log);
    EventTimerManager::tEntry* entry = sdlTimers.addTimer(&target, 0, 0);
    const int timerId = sdlBridge->timerId();
    EXPECT_NE(timerId, 0);
    target.onEvent = [&](std::uint32_t, void*) {
        if (log.size() == 3) {
            sdlTimers.removeTimer(entry);
            quitFlag = true;
        }
    };
    EXPECT_EQ(MessageLoop::run(sdlTimers, quitFlag), 0);
    EXPECT_EQ(log.size(), 3u);
    EXPECT_EQ(sdlBridge->timerId(), 0);

    // A timer event of a stopped timer is ignored.
    Casement::EventTimerManagerSdlBridge::timerProc(timerId);
    EXPECT_EQ(log.size(), 3u);
}

} // namespace
