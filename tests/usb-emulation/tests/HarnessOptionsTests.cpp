#include "HarnessOptions.h"

#include <gtest/gtest.h>

namespace UsbEmulation {
namespace {

std::optional<HarnessOptions> parse(std::vector<std::string> arguments, std::string& error)
{
    return parseHarnessOptions(arguments, error);
}

TEST(HarnessOptions, TakesEverythingAfterTheSeparatorAsTheCommand)
{
    std::string error;
    const auto options =
        parse({"--scenario=write-fails", "--unplug-at-block=3", "--expect-image-a", "--", "cli", "--expect-flashed"}, error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->scenario, "write-fails");
    EXPECT_EQ(options->unplugAtBlock, 3);
    EXPECT_EQ(options->flashCheck, HarnessOptions::ImageAOnly);
    EXPECT_EQ(options->command, (std::vector<std::string>{"cli", "--expect-flashed"}));
}

TEST(HarnessOptions, RefusesAMalformedCommandLine)
{
    for (const auto& arguments : std::vector<std::vector<std::string>>{
             {}, {"--"}, {"cli", "check"}, {"--verbose", "--", "cli"}, {"--unplug-at-block=", "--", "cli"},
             {"--unplug-at-block=70000", "--", "cli"}, {"--unplug-at-block=3x", "--", "cli"}}) {
        std::string error;
        EXPECT_FALSE(parse(arguments, error)) << testing::PrintToString(arguments);
        EXPECT_FALSE(error.empty());
    }
}

} // namespace
} // namespace UsbEmulation
