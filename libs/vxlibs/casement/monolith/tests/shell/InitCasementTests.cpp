#include "casement/AsyncEventTarget.h"
#include "casement/WindowClasses.h"
#include "casement/init_casement.h"

#include "basalt/Assertion.h"

#include <gtest/gtest.h>

#include <SDL.h>

namespace {

using Casement::WindowClasses;

class CasementLifecycle : public ::testing::Test {
protected:
    void TearDown() override
    {
        Casement::shutdownCasement();
        Basalt::Assertion::setThrowing(false);
    }
};

TEST_F(CasementLifecycle, InitStartsSdlAndRegistersTheWindowClassesAndShutDownUndoesIt)
{
    ASSERT_TRUE(Casement::initCasement(0x04010000, 0x000F0001));
    EXPECT_TRUE(Casement::isCasementInitialized());
    EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO | SDL_INIT_EVENTS), SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    // No timer thread: nothing uses SDL's timers.
    EXPECT_EQ(SDL_WasInit(SDL_INIT_TIMER), 0u);
    EXPECT_TRUE(Casement::AsyncEventTarget::isOpen());

    const std::vector<std::string> prefixes{"VXNormalWindow0x", "VXFramelessWindow0x",
                                            "VXChildWindow0x", "VXVSTChildWindow0x",
                                            "VXOverlayWindow0x"};
    for (int kind = 0; kind < WindowClasses::KindCount; ++kind) {
        const auto* windowClass = WindowClasses::find(static_cast<WindowClasses::eKind>(kind));
        ASSERT_NE(windowClass, nullptr);
        EXPECT_EQ(windowClass->name.rfind(prefixes[kind], 0), 0u) << windowClass->name;
        EXPECT_TRUE(windowClass->doubleClicks);
        EXPECT_EQ(windowClass->privateContext, kind == WindowClasses::VSTChild);
        EXPECT_EQ(windowClass->ownProcedure,
                  kind == WindowClasses::Frameless || kind == WindowClasses::Overlay);
    }

    Casement::shutdownCasement();
    EXPECT_FALSE(Casement::isCasementInitialized());
    EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);
    EXPECT_FALSE(WindowClasses::isRegistered());
    EXPECT_FALSE(Casement::AsyncEventTarget::isOpen());
}

TEST_F(CasementLifecycle, WrongVersionWordsInThrowingModeFailAndLeaveNothing)
{
    Basalt::Assertion::setThrowing(true);
    for (const auto& [first, second] : std::vector<std::pair<std::uint32_t, std::uint32_t>>{
             {0x04020000, 0x000F0001}, {0x02030000, 0x000F0001}, {0x04010000, 0x000F0002},
             {0x04010000, 0x00100001}, {0x04010000, 0x000E0001}}) {
        EXPECT_FALSE(Casement::initCasement(first, second)) << std::hex << first << " " << second;
        EXPECT_FALSE(Casement::isCasementInitialized());
        EXPECT_FALSE(WindowClasses::isRegistered());
        EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);
    }
}

TEST(CasementLifecycleDeathTest, WrongVersionWordsEndTheProcessWithExitCode1)
{
    EXPECT_EXIT(Casement::initCasement(0x04010000, 0x000F0000), ::testing::ExitedWithCode(1),
                "Error .*Casement was built for other interface version words");
}

} // namespace
