// The toolkit window's handling of the window events, on SDL's dummy video
// driver with a timer that ticks only when the test says so.
#include "TreeTestSupport.h"

#include <trellis/Window.h>

#include <casement/AbstractEventTimerManagerOsBridge.h>
#include <casement/AsyncEventTarget.h>
#include <casement/DisplayScale.h>
#include <casement/MessageLoop.h>
#include <casement/StandaloneWindow.h>
#include <casement/WindowEvents.h>

#include <SDL.h>

#include <thread>
#include <utility>

namespace Trellis {
namespace {

using namespace Testing;

class ManualTimer final : public Casement::AbstractEventTimerManagerOsBridge {
public:
    void start(int) override {}
    void stop() override {}
};

// Keeps the device area of every repaint it presents.
class PresentingWindow : public Window<Casement::StandaloneWindow> {
public:
    using Window::Window;

    bool handleEvent(std::uint32_t code, void* payload, bool flag) override
    {
        if (code == Casement::Repaint) {
            presented.push_back(static_cast<const Casement::tPaintContext*>(payload)->dirty);
        }
        return Window::handleEvent(code, payload, flag);
    }

    std::vector<Casement::Rect> presented;
};

class WindowEvents : public TreeTest {
protected:
    void SetUp() override
    {
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy");
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        Casement::DETAIL::DisplayScale::setOverride(2.0);
        build("Bar#Leaf { x: 10; y: 5; width: 20; height: 10; background-color: rgb(1, 2, 3); }\n"
              "Bar#Leaf[lit=yes] { background-color: rgb(200, 2, 3); }\n");
        leaf = bar(*root, "Leaf");
        pane.setRoot(nullptr);
        window.pane().setRoot(root);
    }

    void TearDown() override
    {
        window.destroy();
        window.pane().setRoot(nullptr);
        Casement::DETAIL::DisplayScale::setOverride(std::nullopt);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    Casement::EventTimerManager timers{[](Casement::EventTimerManager&) { return std::make_unique<ManualTimer>(); }};
    PresentingWindow window{timers};
    std::shared_ptr<Bar> leaf;
};

TEST_F(WindowEvents, TicksPresentOnlyWhatChangedAtTheWindowsScale)
{
    ASSERT_TRUE(window.create(100, 60, "Test"));
    ASSERT_NE(timers.first(), nullptr) << "registered for ticks when created";
    EXPECT_EQ(timers.first()->priority, -10);
    EXPECT_EQ(window.canvas().getBuffer().width(), 200);
    window.show();
    EXPECT_EQ(window.presented, (std::vector<Casement::Rect>{{0, 0, 200, 120}})) << "a full first present";

    window.presented.clear();
    timers.tick();
    EXPECT_TRUE(window.presented.empty()) << "an idle tick presents nothing";
    leaf->setAttribute("lit", "yes");
    timers.tick();
    EXPECT_EQ(window.presented, (std::vector<Casement::Rect>{{20, 10, 40, 20}}));
    EXPECT_EQ(window.canvas().getBuffer().row(10)[20], 0xFFC80203u);

    window.destroy();
    EXPECT_EQ(timers.first(), nullptr) << "no ticks for a destroyed window";
}

TEST_F(WindowEvents, ANewDensityRepaintsEverythingAtTheNewScale)
{
    ASSERT_TRUE(window.create(100, 60, "Test"));
    window.show();
    window.presented.clear();
    float backing = 1.0f;
    window.handleEvent(Casement::DensityChanged, &backing, false);
    EXPECT_EQ(window.canvas().getBuffer().width(), 100);
    EXPECT_EQ(window.canvas().getBuffer().row(5)[10], 0xFF010203u);
    EXPECT_FALSE(window.presented.empty());
}

// With the framework's cross-thread target open, an idle tick removes the
// window's timer entry; a change on this thread adds it back at once, one on
// another thread through the posted command.
TEST_F(WindowEvents, AnIdleWindowLetsItsTimerRestUntilTheNextChange)
{
    Casement::AsyncEventTarget::open();
    ASSERT_TRUE(window.create(100, 60, "Test"));
    window.show();
    timers.tick();
    EXPECT_EQ(timers.first(), nullptr) << "an idle tick lets the timer rest";

    leaf->setAttribute("lit", "yes");
    ASSERT_NE(timers.first(), nullptr) << "a change wakes it";
    window.presented.clear();
    timers.tick();
    EXPECT_EQ(window.presented, (std::vector<Casement::Rect>{{20, 10, 40, 20}}));
    timers.tick();
    ASSERT_EQ(timers.first(), nullptr);

    std::thread([this] { leaf->repaint(); }).join();
    SDL_Event event;
    while (timers.first() == nullptr && SDL_PollEvent(&event) == 1) {
        Casement::MessageLoop::dispatch(event);
    }
    EXPECT_NE(timers.first(), nullptr) << "a repaint asked for on another thread wakes it";
    window.destroy();
    Casement::AsyncEventTarget::close();
}

// SDL's drop series becomes one drag that enters and drops where the
// pointer was last seen. Where no widget takes it, nothing changes; SDL's
// strings are freed by the loop either way.
TEST_F(WindowEvents, ADropReachesTheWidgetUnderThePointerAndChangesNothingElsewhere)
{
    ASSERT_TRUE(window.create(100, 60, "Test"));
    window.show();
    std::vector<Casement::tDropData> taken;
    leaf->setDropCallback([&taken](const Casement::tDropData& data) { taken.push_back(data); });
    const auto dispatchQueued = [this] {
        SDL_Event event;
        while (SDL_PollEvent(&event) == 1) {
            Casement::MessageLoop::dispatch(event);
        }
        timers.tick();
    };
    const auto moveTo = [this](int x, int y) {
        SDL_Event event{};
        event.type = SDL_MOUSEMOTION;
        event.motion.windowID = window.windowId();
        event.motion.x = x;
        event.motion.y = y;
        ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
    };
    const auto drop = [this] {
        const std::pair<Uint32, const char*> series[] = {{SDL_DROPBEGIN, nullptr},
                                                          {SDL_DROPFILE, "/tmp/firmware.bin"},
                                                          {SDL_DROPTEXT, "note"},
                                                          {SDL_DROPCOMPLETE, nullptr}};
        for (const auto& [type, text] : series) {
            SDL_Event event{};
            event.type = type;
            event.drop.windowID = window.windowId();
            event.drop.file = text ? SDL_strdup(text) : nullptr;
            ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
        }
    };

    moveTo(4, 4);
    dispatchQueued();
    window.presented.clear();
    drop();
    dispatchQueued();
    EXPECT_TRUE(window.presented.empty()) << "a drop on the root, which takes none";
    EXPECT_TRUE(taken.empty());

    moveTo(30, 14);  // device pixels at scale 2: the leaf's (5, 2)
    drop();
    dispatchQueued();
    EXPECT_EQ(taken, (std::vector<Casement::tDropData>{{{"/tmp/firmware.bin"}, {"note"}}}));
}

} // namespace
} // namespace Trellis
