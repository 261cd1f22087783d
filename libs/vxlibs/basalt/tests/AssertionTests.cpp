#include "basalt/Assertion.h"
#include "basalt/init_basalt.h"

#include <gtest/gtest.h>

namespace {

class ThrowingMode : public ::testing::Test {
protected:
    void SetUp() override { Basalt::Assertion::setThrowing(true); }
    void TearDown() override { Basalt::Assertion::setThrowing(false); }
};

TEST_F(ThrowingMode, RaisesTheExceptionWithFileLineAndMessage)
{
    try {
        Basalt::Assertion::fail("Storage.cpp", 42, "bad offset");
        FAIL() << "no exception";
    } catch (const Basalt::Assertion::exception& e) {
        EXPECT_STREQ(e.what(), "Assertion in Storage.cpp:42 bad offset");
    }
}

TEST_F(ThrowingMode, MacroPassesOnTrueAndThrowsOnFalse)
{
    EXPECT_NO_THROW(BASALT_ASSERT(1 + 1 == 2, "arithmetic"));
    EXPECT_THROW(BASALT_ASSERT(1 + 1 == 3, "arithmetic"), Basalt::Assertion::exception);
}

TEST(AssertionDeathTest, ShowsTheMessageBoxAndExitsWithCodeOne)
{
    EXPECT_EXIT(Basalt::Assertion::fail("Init.cpp", 7, "version mismatch"),
                ::testing::ExitedWithCode(1), "Error Init.cpp:7\n\nversion mismatch");
}

TEST(AssertionDeathTest, WithoutAMessageShowsOnlyFileAndLine)
{
    EXPECT_EXIT(
        {
            Basalt::Assertion::setMessageBox([](const std::string& caption, const std::string& text) {
                std::fprintf(stderr, "[%s|%s]", caption.c_str(), text.c_str());
            });
            Basalt::Assertion::fail("Init.cpp", 9);
        },
        ::testing::ExitedWithCode(1), "\\[\\|Error Init.cpp:9\\]");
}

TEST(AssertionDeathTest, CaptionIsTheApplicationName)
{
    EXPECT_EXIT(
        {
            Basalt::initBasalt(Basalt::fourCharCode("VTVS"), "TROVIX STUDIO UPDATER", 0x02030000,
                               0x000F0001);
            Basalt::Assertion::setMessageBox([](const std::string& caption, const std::string&) {
                std::fprintf(stderr, "caption=%s;", caption.c_str());
            });
            BASALT_ASSERT(false, "boom");
        },
        ::testing::ExitedWithCode(1), "caption=TROVIX STUDIO UPDATER;");
}

} // namespace
