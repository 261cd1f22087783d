#include "conduit2/HardwareLog.h"
#include "conduit2/HardwareLogSettings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using Conduit2::HardwareLogSettings;

TEST(HardwareLogSettings, ParsesThresholdCategoriesAndDestination)
{
    auto s = HardwareLogSettings::parse("1:USBDevice,DFUDevice:/tmp/a:b.log");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->threshold, 1u);
    EXPECT_EQ(s->categories, (std::vector<std::string>{"USBDevice", "DFUDevice"}));
    EXPECT_EQ(s->destination, HardwareLogSettings::File);
    EXPECT_EQ(s->path, "/tmp/a:b.log");

    s = HardwareLogSettings::parse("0");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->threshold, 0u);
    EXPECT_TRUE(s->categories.empty());
    EXPECT_EQ(s->destination, HardwareLogSettings::None);

    s = HardwareLogSettings::parse("2::-");
    ASSERT_TRUE(s);
    EXPECT_TRUE(s->categories.empty());
    EXPECT_EQ(s->destination, HardwareLogSettings::StandardError);

    s = HardwareLogSettings::parse("3:,USBDevice,:syslog");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->categories, (std::vector<std::string>{"USBDevice"}));
    EXPECT_EQ(s->destination, HardwareLogSettings::Syslog);
}

TEST(HardwareLogSettings, RejectsMalformedText)
{
    for (const char* text : {"", ":USBDevice", "x", "1x", "-1", "8", "4294967296", "1:USBDevice:", " 1"}) {
        EXPECT_FALSE(HardwareLogSettings::parse(text)) << '"' << text << '"';
    }
}

class Environment : public ::testing::Test {
protected:
    void TearDown() override
    {
        ::unsetenv("TVS_HW_LOG");
        Conduit2::resetHardwareLog();
        std::filesystem::remove(path_);
    }
    std::filesystem::path path_ =
        std::filesystem::path(::testing::TempDir()) / ("hwlog-" + std::to_string(::getpid()) + ".log");
};

TEST_F(Environment, FileDestinationReceivesTheDeviceLayerLines)
{
    ::setenv("TVS_HW_LOG", ("1:USBDevice:" + path_.string()).c_str(), 1);
    Conduit2::configureHardwareLogFromEnvironment();
    EXPECT_EQ(Conduit2::logThreshold(), 1u);
    EXPECT_TRUE(Conduit2::shouldLog(1, "USBDevice"));
    Conduit2::logMessage(1, "%s: CancelIo (deviceIoControl) failed (GetLastError() == %dL)\n", "USBDevice", 6);
    std::stringstream content;
    content << std::ifstream(path_).rdbuf();
    EXPECT_EQ(content.str(), "USBDevice: CancelIo (deviceIoControl) failed (GetLastError() == 6L)\n");
}

TEST_F(Environment, MalformedValueKeepsTheDefaultsAndSaysSo)
{
    ::setenv("TVS_HW_LOG", "verbose", 1);
    ::testing::internal::CaptureStderr();
    Conduit2::configureHardwareLogFromEnvironment();
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("TVS_HW_LOG ignored"), std::string::npos);
    EXPECT_EQ(Conduit2::logThreshold(), 2u);
}

// None of these may hang the program at its start or receive the log.
TEST_F(Environment, MissingFoldersFifosLinksAndDirectoriesAreReported)
{
    const auto dir = path_.string() + ".d";
    std::filesystem::create_directories(dir);
    ASSERT_EQ(::mkfifo((dir + "/fifo").c_str(), 0600), 0);
    std::ofstream(dir + "/target").put('x');
    std::filesystem::create_symlink(dir + "/target", dir + "/link");
    for (const std::string& file : {std::string("/nonexistent-dir/x.log"), dir + "/fifo", dir + "/link", dir}) {
        ::setenv("TVS_HW_LOG", ("1:USBDevice:" + file).c_str(), 1);
        ::testing::internal::CaptureStderr();
        Conduit2::configureHardwareLogFromEnvironment();
        EXPECT_NE(::testing::internal::GetCapturedStderr().find("cannot open the log file"), std::string::npos) << file;
    }
    EXPECT_EQ(std::filesystem::file_size(dir + "/target"), 1u);
    std::filesystem::remove_all(dir);
}

} // namespace
