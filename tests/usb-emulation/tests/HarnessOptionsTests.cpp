#include "HarnessOptions.h"

#include <gtest/gtest.h>

namespace UsbEmulation {
namespace {

std::optional<HarnessOptions> parse(std::vector<std::string> arguments, std::string& error)
{
    return parseHarnessOptions(arguments, error);
}

TEST(HarnessOptions, TakesTheCommandsAfterTheSeparator)
{
    std::string error;
    const auto options = parse({"--scenario=write-fails", "--unplug-at-block=3", "--expect-image-a", "--unopenable",
                                "--plug-when=/tmp/in", "--busy-ms=300", "--", "cli", "--expect-flashed", "--then", "cli", "--"},
                               error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->scenario, "write-fails");
    EXPECT_EQ(options->unplugAtBlock, 3);
    EXPECT_TRUE(options->unopenable);
    EXPECT_EQ(options->plugWhen, "/tmp/in");
    EXPECT_EQ(options->busyMs, 300);
    EXPECT_EQ(options->flashCheck, HarnessOptions::ImageAOnly);
    EXPECT_EQ(options->commands,
              (std::vector<std::vector<std::string>>{{"cli", "--expect-flashed"}, {"cli", "--"}}));
}

TEST(HarnessOptions, RefusesAMalformedCommandLine)
{
    for (const auto& arguments : std::vector<std::vector<std::string>>{
             {}, {"--"}, {"cli", "check"}, {"--verbose", "--", "cli"}, {"--unplug-at-block=", "--", "cli"},
             {"--unplug-at-block=70000", "--", "cli"}, {"--unplug-at-block=3x", "--", "cli"}, {"--plug-when=", "--", "cli"}, {"--busy-ms=x", "--", "cli"},
             {"--", "cli", "--then"}, {"--", "--then", "cli"}, {"--", "cli", "--then", "--then", "cli"}}) {
        std::string error;
        EXPECT_FALSE(parse(arguments, error)) << testing::PrintToString(arguments);
        EXPECT_FALSE(error.empty());
    }
}

} // namespace
} // namespace UsbEmulation
