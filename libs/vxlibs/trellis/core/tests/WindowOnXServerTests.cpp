// A toolkit window on a private X server: real pointer input from xdotool
// reaches a Button through SDL, the window and the Pane; events and ticks come
// from the message loop's wait and dispatch; what reaches the screen
// is read back with xwd; an idle window lets its timer rest. Run at scale 1
// and at an exact scale of 2.
#include "TreeTestSupport.h"
#include "WindowTestSupport.h"
#include "X11WindowOf.h"
#include "XvfbServer.h"
#include "XwdImage.h"

#include <trellis/Button.h>
#include <trellis/Window.h>

#include <casement/EventTimerManager.h>
#include <casement/EventWait.h>
#include <casement/MessageLoop.h>
#include <casement/ShellEvents.h>
#include <casement/init_casement.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace Casement {
void PrintTo(const Rect& rect, std::ostream* out)
{
    *out << "(" << rect.x << ", " << rect.y << ", " << rect.width << " x " << rect.height << ")";
}
} // namespace Casement

namespace Trellis {
namespace {

using namespace Testing;
using namespace std::chrono_literals;

constexpr std::uint32_t Background = 0xFAFAFA;

// Two 40 x 20 buttons over a light root; every look is one solid frame of a
// four-frame picture: red when up, green under the pointer, blue while
// pressed; the second button stays yellow. Of equally specific rules the
// first wins, so ":down" comes before ":over", which also holds while pressed.
const char* const StyleSheet = "*.Root { background-color: rgb(250, 250, 250); }\n"
                               "Button { width: 40; height: 20; image: url(\"Lamp.tga\"); animations: 4; }\n"
                               "Button#First { x: 30; y: 20; }\n"
                               "Button#Second { x: 110; y: 20; animation-index: 3; }\n"
                               "Button:down { animation-index: 2; }\n"
                               "Button:over { animation-index: 1; }\n";

// The frames of the buttons' picture at a scale: red, green, blue, yellow.
std::vector<unsigned char> lampPicture(int scale)
{
    return tgaPicture(40 * scale, 80 * scale, [scale](int, int y) {
        const std::uint32_t frames[] = {Red, Green, Blue, Yellow};
        return frames[y / (20 * scale)];
    });
}

bool onPath(const char* program)
{
    const char* path = std::getenv("PATH");
    std::istringstream folders(path ? path : "");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        if (access((folder + "/" + program).c_str(), X_OK) == 0) {
            return true;
        }
    }
    return false;
}

// Records the device area of every repaint it presents and counts its ticks.
class ToolkitWindow : public Window<Casement::StandaloneWindow> {
public:
    using Window::Window;

    bool handleEvent(std::uint32_t code, void* payload, bool flag) override
    {
        if (code == Casement::Repaint) {
            presented.push_back(static_cast<const Casement::tPaintContext*>(payload)->dirty);
        }
        const bool handled = Window::handleEvent(code, payload, flag);
        ticks += code == Casement::TickEvent;
        return handled;
    }

    std::vector<Casement::Rect> presented;
    int ticks = 0;
};

// An event timer entry of its own wakes the loop every period, so that a
// wait keeps to its time-out while the window's timer rests.
class Heartbeat final : public Casement::EventHandler {
public:
    bool handleEvent(std::uint32_t, void*, bool) override { return true; }
};

// Dispatches SDL's events as the message loop does (window events to their
// window, timer events to the event timers) until `done` or the time-out.
bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = 5s)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        SDL_Event event{};
        if (Casement::DETAIL::EventWait::next(event)) {
            Casement::MessageLoop::dispatch(event);
        }
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
    }
    return true;
}

class ToolkitWindowOnXServer : public TreeTest, public testing::WithParamInterface<int> {
protected:
    void SetUp() override
    {
        if (!XvfbServer::installed() || !onPath("xdotool")) {
            GTEST_SKIP() << "Xvfb or xdotool is not installed (scripts/setup installs them)";
        }
        ASSERT_TRUE(server_.start());
        setenv("DISPLAY", server_.display().c_str(), 1);
        // Out of the way of the window, which is centred on the screen.
        ASSERT_TRUE(run("xdotool mousemove --sync 0 0"));
        session_.emplace("x11", static_cast<double>(GetParam()));
        ASSERT_TRUE(session_->ok()) << SDL_GetError();
        ASSERT_TRUE(Casement::initCasement(0x04010000, 0x000F0001));
        timers_.emplace();
        timers_->addTimer(&heartbeat_, Casement::EventTimerManager::Period, 0);
        window.emplace(*timers_);
        buildTree();
        ASSERT_TRUE(window->create(200, 80, "Trellis window test"));
        // What create() presented went to a hidden window: wait for the
        // repaint of the whole window that showing it brings.
        window->presented.clear();
        window->show();
        const Casement::Rect whole{0, 0, window->clientWidth(), window->clientHeight()};
        const auto exposed = [&] {
            return std::find(window->presented.begin(), window->presented.end(), whole) != window->presented.end();
        };
        ASSERT_TRUE(runUntil([&] { return exposed() && window->ticks >= 1 && !windowTicks(); }))
            << "the window was not exposed or its timer does not rest";
        // The server may expose a new window more than once, later on a slow
        // machine: the tests start once nothing has been presented for 300 ms.
        for (int round = 0; round < 20 && runUntil([&] { return !window->presented.empty(); }, 300ms); ++round) {
            window->presented.clear();
        }
        window->presented.clear();
        windowId_ = x11WindowOf(SDL_GetWindowFromID(window->windowId()));
        ASSERT_FALSE(windowId_.empty());
    }

    void TearDown() override
    {
        if (window) {
            window->destroy();
            window->pane().setRoot(nullptr);
            window.reset();
        }
        timers_.reset();
        Casement::shutdownCasement();
        session_.reset();
    }

    void buildTree()
    {
        table.add("PICTURE", "LAMP.TGA", lampPicture(1));
        table.add("PICTURE", "LAMP@2X.TGA", lampPicture(2));
        table.add("STYLESHEET", "TEST.TXT", std::vector<unsigned char>(StyleSheet, StyleSheet + strlen(StyleSheet)));
        module = table.module();
        resources = std::make_unique<ManagerContainer>(module);
        resources->setStyleSheet("Test.txt");
        root = std::make_shared<Bar>();
        window->pane().setRoot(root);
        root->init(TopToBottom, "Root");
        for (auto* button : {&first, &second}) {
            *button = std::make_shared<Button>();
            root->addChild(*button, PooledName(button == &first ? "First" : "Second"));
            (*button)->init("", nullptr);
        }
    }

    bool run(const std::string& command) const { return std::system(command.c_str()) == 0; }

    // The xdotool command that moves the pointer to a logical point of the window.
    std::string pointerTo(Casement::Point logical) const
    {
        const int s = GetParam();
        return "mousemove --sync --window " + windowId_ + " " + std::to_string(logical.x * s) + " " +
               std::to_string(logical.y * s);
    }

    // Whether the window's timer entry is there (it goes while the window rests).
    bool windowTicks() const
    {
        for (const auto* entry = timers_->first(); entry != nullptr; entry = entry->next) {
            if (entry->target == static_cast<const Casement::EventHandler*>(&*window)) {
                return true;
            }
        }
        return false;
    }

    // Lets three more ticks pass, or fewer when the window's timer comes to
    // rest, so that every frame cycle that was due has run.
    void settle()
    {
        const int until = window->ticks + 3;
        ASSERT_TRUE(runUntil([&] { return window->ticks >= until || !windowTicks(); }));
    }

    Casement::Rect device(const Casement::Rect& logical) const
    {
        const int s = GetParam();
        return {logical.x * s, logical.y * s, logical.width * s, logical.height * s};
    }

    // The window as the X server shows it: the first button in `colour`, the
    // second one yellow, the background everywhere else.
    testing::AssertionResult screenShows(std::uint32_t colour) const
    {
        const std::string file = testing::TempDir() + "trellis-window-" + std::to_string(getpid()) + ".xwd";
        if (!run("xwd -silent -id " + windowId_ + " -out " + file)) {
            return testing::AssertionFailure() << "xwd failed";
        }
        const auto image = readXwdFile(file);
        std::filesystem::remove(file);
        if (!image || image->width != 200 * GetParam() || image->height != 80 * GetParam()) {
            return testing::AssertionFailure() << "no read-back of the window's size";
        }
        const auto inside = [](const Casement::Rect& rect, std::int32_t x, std::int32_t y) {
            return x >= rect.x && y >= rect.y && x < rect.right() && y < rect.bottom();
        };
        const Casement::Rect one = device(first->rect());
        const Casement::Rect two = device(second->rect());
        for (std::int32_t y = 0; y < image->height; ++y) {
            for (std::int32_t x = 0; x < image->width; ++x) {
                const std::uint32_t expected =
                    (inside(one, x, y) ? colour : inside(two, x, y) ? Yellow : Background) & 0xFFFFFF;
                if (image->at(x, y) != expected) {
                    char colours[40];
                    std::snprintf(colours, sizeof colours, "#%06X, not #%06X", image->at(x, y), expected);
                    return testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is " << colours;
                }
            }
        }
        return testing::AssertionSuccess();
    }

    XvfbServer server_;
    std::optional<VideoSession> session_;
    Heartbeat heartbeat_;
    std::optional<Casement::EventTimerManager> timers_;
    std::optional<ToolkitWindow> window;
    std::shared_ptr<Button> first;
    std::shared_ptr<Button> second;
    std::string windowId_;
};

// Each change of the button's look presents exactly its rectangle at the
// window's scale, and the screen shows the look of each state.
TEST_P(ToolkitWindowOnXServer, HoverPressAndReleasePresentOnlyTheButton)
{
    ASSERT_EQ(first->rect(), (Casement::Rect{30, 20, 40, 20}));
    EXPECT_TRUE(screenShows(Red));
    int entered = 0, pressed = 0, released = 0, clicked = 0, left = 0;
    first->entered.connect([&] { ++entered; });
    first->pressed.connect([&](const auto&, Casement::Point) { ++pressed; });
    first->released.connect([&] { ++released; });
    first->clicked.connect([&](const auto&) { ++clicked; });
    first->left.connect([&] { ++left; });
    const std::vector<Casement::Rect> onlyTheButton{device(first->rect())};

    struct tStep {
        const char* what;
        std::string command;
        int* signal;
        std::uint32_t colour;
    };
    const tStep steps[] = {
        {"hover", pointerTo({50, 30}), &entered, Green},
        {"press", "mousedown 1", &pressed, Blue},
        {"release", "mouseup 1", &released, Green},
        {"leave", pointerTo({90, 30}), &left, Red},
    };
    for (const tStep& step : steps) {
        SCOPED_TRACE(step.what);
        window->presented.clear();
        ASSERT_TRUE(run("xdotool " + step.command));
        ASSERT_TRUE(runUntil([&] { return *step.signal == 1; }));
        settle();
        EXPECT_EQ(window->presented, onlyTheButton);
        EXPECT_TRUE(screenShows(step.colour));
    }
    EXPECT_EQ(clicked, 1);
    EXPECT_EQ(released, 1);
    EXPECT_TRUE(warnings.warnings.empty());
}

// The platform window keeps the pointer while the button is held: the
// release outside the window still reaches the button, which goes back up
// without a click.
TEST_P(ToolkitWindowOnXServer, AReleaseOutsideTheWindowIsNoClickAndLeavesTheButtonUp)
{
    int released = 0, clicked = 0;
    first->released.connect([&] { ++released; });
    first->clicked.connect([&](const auto&) { ++clicked; });
    ASSERT_TRUE(run("xdotool " + pointerTo({35, 25})));
    ASSERT_TRUE(run("xdotool mousedown 1"));
    ASSERT_TRUE(runUntil([&] { return window->pane().isMouseButtonHeld(); }));
    ASSERT_TRUE(run("xdotool mousemove --sync 0 0 mouseup 1"));
    ASSERT_TRUE(runUntil([&] { return released == 1; }));
    settle();
    EXPECT_EQ(clicked, 0);
    EXPECT_EQ(window->pane().hoverWidget(), nullptr);
    EXPECT_TRUE(screenShows(Red));
}

INSTANTIATE_TEST_SUITE_P(Scales, ToolkitWindowOnXServer, testing::Values(1, 2),
                         [](const testing::TestParamInfo<int>& param) { return "Scale" + std::to_string(param.param); });

} // namespace
} // namespace Trellis
