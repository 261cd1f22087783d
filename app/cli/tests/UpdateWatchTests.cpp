#include "cli/UpdateWatch.h"

#include <gtest/gtest.h>

#include <signal.h>

#include <sstream>

namespace {

using namespace std::chrono_literals;

constexpr std::uint32_t Total = 1000;

class UpdateWatchTest : public ::testing::Test {
protected:
    Cli::eWatchEnd watch()
    {
        Cli::Console console{in, out, err, false};
        const Cli::UpdateProgress progress{[this] { return onPoll(); }, Total};
        return Cli::watchUpdate(result, progress, {"WARNING", 3s}, interrupts, console);
    }

    // Each poll writes 100 more bytes; `finishAfter` polls end the worker with `finalResult`.
    std::uint32_t onPoll()
    {
        if (++polls == finishAfter) {
            result.store(finalResult);
        }
        return std::min<std::uint32_t>(polls * 100, Total);
    }

    std::size_t warnings() const
    {
        std::size_t count = 0;
        for (auto at = out.str().find("WARNING"); at != std::string::npos; at = out.str().find("WARNING", at + 1)) {
            ++count;
        }
        return count;
    }

    UpdateResult result;
    std::uint32_t polls = 0;
    std::uint32_t finishAfter = 0;
    std::int32_t finalResult = UpdateResult::Done;
    Cli::InterruptWatch interrupts;
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(UpdateWatchTest, FollowsTheWorkerUntilItsResult)
{
    finishAfter = 4;
    finalResult = UpdateResult::WriteFailed;
    EXPECT_EQ(watch(), Cli::eWatchEnd::Finished);
    EXPECT_NE(out.str().find("failed"), std::string::npos);
    EXPECT_EQ(out.str().find('\r'), std::string::npos);
    EXPECT_EQ(warnings(), 0u);
}

TEST_F(UpdateWatchTest, OneCtrlCOnlyWarns)
{
    finishAfter = 3;
    ::raise(SIGINT);
    EXPECT_EQ(watch(), Cli::eWatchEnd::Finished);
    EXPECT_EQ(warnings(), 1u);
    EXPECT_NE(out.str().find("done"), std::string::npos);
}

TEST_F(UpdateWatchTest, SecondCtrlCWithinTheWindowStops)
{
    ::raise(SIGINT);
    ::raise(SIGINT);
    EXPECT_EQ(watch(), Cli::eWatchEnd::Stopped);
    EXPECT_EQ(warnings(), 1u);
    EXPECT_NE(out.str().find("stopped"), std::string::npos);
    EXPECT_EQ(result.load(), UpdateResult::Running);
}

TEST(InterruptWatch, RestoresThePreviousHandling)
{
    struct sigaction before {};
    sigaction(SIGINT, nullptr, &before);
    {
        Cli::InterruptWatch watch;
        ::raise(SIGINT);
        ::raise(SIGINT);
        EXPECT_EQ(watch.takeInterrupts(), 2);
        EXPECT_EQ(watch.takeInterrupts(), 0);
    }
    struct sigaction after {};
    sigaction(SIGINT, nullptr, &after);
    EXPECT_EQ(after.sa_handler, before.sa_handler);
}

TEST(ConfirmByRepeat, OnlyAPressWithinTheWindowOfAWarningConfirms)
{
    const Cli::ConfirmByRepeat::Clock::time_point t0{};
    Cli::ConfirmByRepeat confirm(3s);
    EXPECT_FALSE(confirm.press(t0));
    EXPECT_TRUE(confirm.press(t0 + 3s));

    Cli::ConfirmByRepeat late(3s);
    EXPECT_FALSE(late.press(t0));
    EXPECT_FALSE(late.press(t0 + 3001ms));  // too late: warns again, with a new window
    EXPECT_TRUE(late.press(t0 + 5s));
}

} // namespace
