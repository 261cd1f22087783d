#include "WindowTestSupport.h"
#include "X11WindowOf.h"
#include "XvfbServer.h"
#include "XwdImage.h"

#include <casement/PixelArithmetic.h>
#include <casement/XErrorHandlers.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

using namespace Casement;
using namespace std::chrono_literals;

namespace {

// A window on a private X server of its own, shown and exposed.
class WindowOnXServer : public testing::Test {
protected:
    void SetUp() override
    {
        if (!XvfbServer::installed()) {
            GTEST_SKIP() << "Xvfb is not installed (scripts/setup installs it)";
        }
        ASSERT_TRUE(server_.start());
        setenv("DISPLAY", server_.display().c_str(), 1);
        session_.emplace("x11", scale());
        ASSERT_TRUE(session_->ok()) << SDL_GetError();
        ASSERT_TRUE(window.create(627, 335, "TVS Updater test"));
        window.show();
        ASSERT_NE(window.last(Repaint), nullptr) << "showing presents the window";
        // The expose event repaints it once more.
        const auto repaints = [this] {
            const auto codes = window.codes();
            return std::count(codes.begin(), codes.end(), std::uint32_t{Repaint});
        };
        ASSERT_TRUE(pumpUntil([&repaints] { return repaints() == 2; }, 5s)) << "the window was not exposed";
        windowId_ = x11WindowOf(SDL_GetWindowFromID(window.windowId()));
        ASSERT_FALSE(windowId_.empty());
    }

    void TearDown() override
    {
        window.destroy();
        session_.reset();
    }

    virtual double scale() const { return 1.0; }

    // Runs an X client against the private server; true when it exits with 0.
    bool run(const std::string& command) const { return std::system(command.c_str()) == 0; }

    XvfbServer server_;
    std::optional<VideoSession> session_;
    RecordingWindow window;
    std::string windowId_;
};

// Xlib's default handler would end the test program with exit(1).
TEST_F(WindowOnXServer, AnXProtocolErrorDoesNotEndTheProgram)
{
    DETAIL::installXErrorHandlers();
    sendToMissingWindow(SDL_GetWindowFromID(window.windowId()));
    window.show();
    EXPECT_TRUE(run("xwd -silent -id " + windowId_ + " -out /dev/null")) << "the window is still there";
}

TEST_F(WindowOnXServer, PresentedPixelsReachTheScreen)
{
    ASSERT_EQ(window.clientWidth(), 627);
    ASSERT_EQ(window.clientHeight(), 335);
    std::vector<std::uint32_t> buffer(627 * 335);
    for (std::uint32_t y = 0; y < 335; ++y) {
        for (std::uint32_t x = 0; x < 627; ++x) {
            buffer[y * 627 + x] = Pixel::make(x & 0xFF, y & 0xFF, (x + y) & 0xFF, 0xFF);
        }
    }
    ASSERT_TRUE(window.present(buffer.data(), 627, 335, {0, 0, 627, 335}));

    const std::string file = testing::TempDir() + "window-" + std::to_string(getpid()) + ".xwd";
    ASSERT_TRUE(run("xwd -silent -id " + windowId_ + " -out " + file));
    const auto image = readXwdFile(file);
    std::filesystem::remove(file);
    ASSERT_TRUE(image);
    ASSERT_EQ(image->width, 627);
    ASSERT_EQ(image->height, 335);
    for (std::int32_t y = 0; y < 335; ++y) {
        for (std::int32_t x = 0; x < 627; ++x) {
            ASSERT_EQ(image->at(x, y), buffer[y * 627 + x] & 0xFFFFFF) << "at " << x << ", " << y;
        }
    }
}

class ScaledWindowOnXServer : public WindowOnXServer {
protected:
    double scale() const override { return 1.5; }
};

TEST_F(ScaledWindowOnXServer, AClickArrivesAtItsLogicalPosition)
{
    ASSERT_EQ(window.clientWidth(), 941);
    ASSERT_TRUE(run("xdotool mousemove --sync --window " + windowId_ + " 300 150 click 1"));
    ASSERT_TRUE(pumpUntil(
        [this] {
            const auto* click = window.last(MouseButton);
            return click != nullptr && click->button.kind == tMouseButtonEvent::Release;
        },
        5s));
    const auto codes = window.codes();
    const auto press = std::find(codes.begin(), codes.end(), std::uint32_t{MouseButton});
    const tRecordedEvent& pressed = window.events[press - codes.begin()];
    EXPECT_EQ(pressed.button.kind, tMouseButtonEvent::Press);
    EXPECT_EQ(pressed.button.button, tMouseButtonEvent::Left);
    EXPECT_EQ(pressed.button.x, 200);
    EXPECT_EQ(pressed.button.y, 100);
    EXPECT_NE(window.last(MouseEnter), nullptr);
}

} // namespace
