#include "WindowTestSupport.h"

#include <casement/MessageBox.h>
#include <casement/OpenUrl.h>
#include <casement/Picture.h>
#include <casement/PixelArithmetic.h>
#include <casement/ShellEvents.h>

#include <basalt/Assertion.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>
#include <string>
#include <utility>

using namespace Casement;

namespace {

class WindowLifecycle : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(session_.ok()) << SDL_GetError(); }

    void requestClose()
    {
        SDL_Event event{};
        event.window.type = SDL_WINDOWEVENT;
        event.window.windowID = window.windowId();
        event.window.event = SDL_WINDOWEVENT_CLOSE;
        ASSERT_EQ(SDL_PushEvent(&event), 1);
        pumpQueued();
    }

    // The window surface's pixel at (x, y) as 0xRRGGBB.
    std::uint32_t shown(int x, int y)
    {
        SDL_Surface* surface = SDL_GetWindowSurface(SDL_GetWindowFromID(window.windowId()));
        std::uint32_t pixel = 0;
        SDL_ConvertPixels(1, 1, surface->format->format,
                          static_cast<std::uint8_t*>(surface->pixels) + y * surface->pitch + x * 4, surface->pitch,
                          SDL_PIXELFORMAT_ARGB8888, &pixel, 4);
        return pixel & 0xFFFFFF;
    }

    VideoSession session_{"dummy", 1.5};
    RecordingWindow window;
};

TEST_F(WindowLifecycle, CreationAsksForSizeLimitsAndDestructionIsReported)
{
    ASSERT_TRUE(window.create(627, 335, "Test"));
    EXPECT_FALSE(window.create(627, 335, "Test"));
    EXPECT_EQ(window.codes(), (std::vector<std::uint32_t>{WindowCreated, SizeLimits}));
    window.destroy();
    EXPECT_FALSE(window.isCreated());
    EXPECT_EQ(window.codes().back(), std::uint32_t{WindowDestroyed});
    EXPECT_FALSE(window.present(nullptr, 1, 1, {0, 0, 1, 1}));
}

TEST_F(WindowLifecycle, ACloseRefusedByTheHandlerLeavesTheWindowOpen)
{
    ASSERT_TRUE(window.create(200, 100, "Test"));
    window.refuseClose = true;
    requestClose();
    EXPECT_TRUE(window.isCreated());
    EXPECT_EQ(window.codes().back(), std::uint32_t{CloseRequested});

    window.refuseClose = false;
    requestClose();
    EXPECT_FALSE(window.isCreated());
    EXPECT_EQ(window.codes().back(), std::uint32_t{WindowDestroyed});
}

TEST_F(WindowLifecycle, ThePlainWindowAnswersTheShellsRequests)
{
    StandaloneWindow plain;
    ASSERT_TRUE(plain.create(200, 100, "Plain"));
    EXPECT_TRUE(plain.handleEvent(RaiseWindowRequest, nullptr, false));
    EXPECT_TRUE(plain.isCreated());
    EXPECT_FALSE(plain.handleEvent(CloseRequested, nullptr, false)) << "other events are left to the default";
    EXPECT_TRUE(plain.handleEvent(CloseWindowRequest, nullptr, false));
    EXPECT_FALSE(plain.isCreated());
}

TEST_F(WindowLifecycle, PresentsUnscaledAndScaledBuffersInTheWindowsFormat)
{
    ASSERT_TRUE(window.create(100, 50, "Test"));
    const int width = window.clientWidth();
    const int height = window.clientHeight();
    ASSERT_EQ(width, 150);
    std::vector<std::uint32_t> device(static_cast<std::size_t>(width) * height, 0xFF102030);
    device[static_cast<std::size_t>(7) * width + 9] = 0xFFA0B0C0;
    ASSERT_TRUE(window.present(device.data(), width, height, {0, 0, width, height}));
    EXPECT_EQ(shown(9, 7), 0xA0B0C0u);
    EXPECT_EQ(shown(10, 7), 0x102030u);

    // A canvas at backing scale 2 is scaled by 0.75; only the dirty half changes.
    Picture canvas;
    canvas.allocate(200, 100);
    std::fill(canvas.pixels(), canvas.pixels() + 200 * 100, Pixel::make(0x40, 0x80, 0xC0, 0xFF));
    ASSERT_TRUE(window.present(canvas.pixels(), 200, 100, {0, 0, 100, 100}));
    EXPECT_EQ(shown(30, 30), 0xC08040u);
    EXPECT_EQ(shown(140, 30), 0x102030u);
    EXPECT_TRUE(window.setIcon(canvas));
    EXPECT_FALSE(window.setIcon(Picture()));
}

// Answers the size query with a smaller minimum; the maximum stays the fixed size.
class NarrowingWindow : public StandaloneWindow {
public:
    bool handleEvent(std::uint32_t code, void* payload, bool) override
    {
        if (code == SizeLimits) {
            auto& limits = *static_cast<tSizeLimits*>(payload);
            limits.minWidth = 50;
            limits.minHeight = 20;
        }
        return false;
    }
};

// SDL holds a window of fixed size at its size by itself: only a limit that
// differs from it is handed to SDL (in device pixels at scale 1.5).
TEST_F(WindowLifecycle, OnlyLimitsOtherThanTheFixedSizeAreImposed)
{
    NarrowingWindow narrowing;
    ASSERT_TRUE(narrowing.create(100, 50, "Test"));
    SDL_Window* sdl = SDL_GetWindowFromID(narrowing.windowId());
    std::pair<int, int> size;
    SDL_GetWindowMinimumSize(sdl, &size.first, &size.second);
    EXPECT_EQ(size, std::pair(75, 30));
    SDL_GetWindowMaximumSize(sdl, &size.first, &size.second);
    EXPECT_EQ(size, std::pair(0, 0));
    narrowing.destroy();
}

// Clears the display variables for one test and puts them back.
class NoDisplay {
public:
    NoDisplay() : display_(get("DISPLAY")), wayland_(get("WAYLAND_DISPLAY"))
    {
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
    }
    ~NoDisplay()
    {
        restore("DISPLAY", display_);
        restore("WAYLAND_DISPLAY", wayland_);
    }

private:
    static std::optional<std::string> get(const char* name)
    {
        const char* value = std::getenv(name);
        return value ? std::optional<std::string>(value) : std::nullopt;
    }
    static void restore(const char* name, const std::optional<std::string>& value)
    {
        if (value) {
            setenv(name, value->c_str(), 1);
        }
    }

    std::optional<std::string> display_;
    std::optional<std::string> wayland_;
};

TEST(MessageBoxWithoutDisplay, AnswersTheDefaultAndWritesToStandardError)
{
    NoDisplay noDisplay;
    testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBox::show(MessageBox::Question, "TROVIX STUDIO UPDATER", "Quit now?"), MessageBox::No);
    EXPECT_EQ(MessageBox::show(MessageBox::Question, "Caption", "Text", MessageBox::Yes), MessageBox::Yes);
    EXPECT_EQ(MessageBox::show(MessageBox::Warning, "Caption", "Text", MessageBox::Yes), MessageBox::Ok);
    const std::string written = testing::internal::GetCapturedStderr();
    EXPECT_NE(written.find("TROVIX STUDIO UPDATER\nQuit now?\n"), std::string::npos);
}

TEST(MessageBoxWithoutDisplay, FailedAssertionsShowTheirTextAndExitWithOne)
{
    NoDisplay noDisplay;
    const auto failInstalled = [] {
        MessageBox::installForAssertions();
        BASALT_ASSERT(false, "broken");
    };
    EXPECT_EXIT(failInstalled(), testing::ExitedWithCode(1), "Error .*\n\nbroken");
}

TEST(OpenUrl, RefusesAnEmptyAddress)
{
    EXPECT_FALSE(openUrl(""));
}

} // namespace

namespace {

// Presents a canvas at the backing scale, filled with one colour, for the
// area of every repaint event, and keeps the areas.
class CanvasWindow : public StandaloneWindow {
public:
    bool handleEvent(std::uint32_t code, void* payload, bool) override
    {
        if (code != Repaint) {
            return false;
        }
        const auto& context = *static_cast<tPaintContext*>(payload);
        const std::int32_t width = 100 * context.backingScale;
        const std::int32_t height = 50 * context.backingScale;
        canvas.assign(static_cast<std::size_t>(width) * height, 0xFF405060);
        areas.push_back(context.dirty);
        return present(canvas.data(), width, height, context.dirty);
    }

    std::vector<std::uint32_t> canvas;
    std::vector<Rect> areas;
};

struct tRepaintArea {
    double scale;
    Rect device;  // of the logical area (10, 10, 21, 10)
};

// "Scale1_5": the test's name, and its parameter as printed.
std::string nameOf(const tRepaintArea& area)
{
    const int tenths = static_cast<int>(area.scale * 10 + 0.5);
    return "Scale" + std::to_string(tenths / 10) + (tenths % 10 != 0 ? "_" + std::to_string(tenths % 10) : "");
}

void PrintTo(const tRepaintArea& area, std::ostream* out)
{
    *out << nameOf(area);
}

class RepaintArea : public testing::TestWithParam<tRepaintArea> {};

TEST_P(RepaintArea, IsInDevicePixelsSoAFullRepaintCoversTheWindow)
{
    VideoSession session("dummy", GetParam().scale);
    ASSERT_TRUE(session.ok()) << SDL_GetError();
    CanvasWindow window;
    ASSERT_TRUE(window.create(100, 50, "Test"));
    const int width = window.clientWidth();
    const int height = window.clientHeight();
    window.requestRepaint({0, 0, 100, 50});
    EXPECT_TRUE(window.areas.empty()) << "a hidden window is not presented";
    window.show();
    ASSERT_EQ(window.areas, (std::vector<Rect>{{0, 0, width, height}})) << "showing presents all of it";
    window.requestRepaint({0, 0, 100, 50});
    ASSERT_EQ(window.areas.back(), (Rect{0, 0, width, height}));
    SDL_Surface* surface = SDL_GetWindowSurface(SDL_GetWindowFromID(window.windowId()));
    std::uint32_t corner = 0;
    SDL_ConvertPixels(1, 1, surface->format->format,
                      static_cast<std::uint8_t*>(surface->pixels) + (height - 1) * surface->pitch + (width - 1) * 4,
                      surface->pitch, SDL_PIXELFORMAT_ARGB8888, &corner, 4);
    EXPECT_EQ(corner & 0xFFFFFF, 0x405060u) << "the far corner was presented";

    window.requestRepaint({10, 10, 21, 10});
    EXPECT_EQ(window.areas.back(), GetParam().device) << "a logical area covers every device pixel it touches";
    window.destroy();
}

INSTANTIATE_TEST_SUITE_P(Scales, RepaintArea,
                         testing::Values(tRepaintArea{1.0, {10, 10, 21, 10}}, tRepaintArea{1.5, {15, 15, 32, 15}},
                                         tRepaintArea{2.0, {20, 20, 42, 20}}),
                         [](const testing::TestParamInfo<tRepaintArea>& test) { return nameOf(test.param); });

} // namespace
