#include "LogicFixture.h"

#include <cstdio>
#include <ostream>
#include <string>

namespace {

using Conduit2::USBDeviceInfo;

struct Expected {
    std::uint16_t release;
    std::uint16_t secondary;
    std::string installed;
    std::string newest;
    bool updateAvailable;
};

// "Release32Secondary0x65": the test's name, and its parameter as printed.
std::string nameOf(const Expected& expected)
{
    char name[40];
    std::snprintf(name, sizeof name, "Release%uSecondary0x%02X", unsigned{expected.release},
                  unsigned{expected.secondary});
    return name;
}

void PrintTo(const Expected& expected, std::ostream* out)
{
    *out << nameOf(expected);
}

class VersionCheck : public LogicTest, public ::testing::WithParamInterface<Expected> {};

TEST_P(VersionCheck, TextsAndOffer)
{
    Conduit2::Sim::StudioConfig config;
    config.installedRelease = GetParam().release;
    config.secondaryRevision = GetParam().secondary;
    plugModel(config);
    ASSERT_TRUE(logic->isDeviceReady());
    USBDeviceInfo info;
    std::string installed;
    std::string newest;
    bool updateAvailable = !GetParam().updateAvailable;
    logic->readFirmwareInfo(info, installed, newest, updateAvailable);
    EXPECT_EQ(info.serialNumber, "TVS0012345");
    EXPECT_EQ(info.bcdDevice, GetParam().release);
    EXPECT_EQ(installed, GetParam().installed);
    EXPECT_EQ(newest, GetParam().newest);
    EXPECT_EQ(updateAvailable, GetParam().updateAvailable);
}

INSTANTIATE_TEST_SUITE_P(WorkedResults, VersionCheck,
                         ::testing::Values(Expected{32, 0x65, "32", "33", true}, Expected{33, 103, "33", "33", false},
                                           Expected{33, 0x65, "33 / 0x65", "33 / 0x67", true},
                                           Expected{33, 0x70, "33 / 0x70", "33 / 0x67", false},
                                           Expected{34, 0x01, "34", "33", false}),
                         [](const ::testing::TestParamInfo<Expected>& test) { return nameOf(test.param); });

TEST_F(LogicTest, NoDeviceLeavesTheCallersTextsAndOffersNothing)
{
    EXPECT_FALSE(logic->isDeviceReady());
    USBDeviceInfo info{1, 2, 3, "m", "p", "s"};
    std::string installed = "unchanged";
    std::string newest;
    bool updateAvailable = true;
    logic->readFirmwareInfo(info, installed, newest, updateAvailable);
    EXPECT_EQ(info.bcdDevice, 0);
    EXPECT_EQ(info.serialNumber, "s");
    EXPECT_EQ(installed, "unchanged");
    EXPECT_EQ(newest, "33");
    EXPECT_FALSE(updateAvailable);
}

// The boot loader's revision says nothing of the firmware: whatever it is,
// the device runs none and the update is offered.
TEST_F(LogicTest, DeviceFoundInUpdateModeIsOpenedThereAndOffered)
{
    for (const std::uint16_t bootLoaderRelease : {std::uint16_t{32}, std::uint16_t{33}, std::uint16_t{34}}) {
        Conduit2::Sim::StudioConfig config;  // each plugged last, so each opened in turn
        config.serialNumber = "BOOT" + std::to_string(bootLoaderRelease);
        config.startsInDfuMode = true;
        config.installedRelease = bootLoaderRelease;
        plugModel(config);
        ASSERT_TRUE(logic->isDeviceReady());
        EXPECT_EQ(logic->device().bInterfaceProtocol(), 2);
        USBDeviceInfo info;
        std::string installed;
        std::string newest;
        bool updateAvailable = false;
        logic->readFirmwareInfo(info, installed, newest, updateAvailable);
        EXPECT_EQ(info.serialNumber, config.serialNumber);
        EXPECT_EQ(info.productId, 0x1302);
        EXPECT_EQ(installed, "update mode") << bootLoaderRelease;
        EXPECT_TRUE(updateAvailable) << bootLoaderRelease;
    }
}

TEST_F(LogicTest, OfTwoDevicesTheLastEnumeratedStaysOpen)
{
    Conduit2::Sim::StudioConfig first;
    first.serialNumber = "FIRST";
    Conduit2::Sim::StudioConfig second;
    second.serialNumber = "SECOND";
    plugModel(first);
    plugModel(second);
    ASSERT_TRUE(logic->isDeviceReady());
    EXPECT_EQ(logic->device().info().serialNumber, "SECOND");
}

TEST_F(LogicTest, ADeviceOpenFromAnEarlierScanStaysOpenWhenItIsGone)
{
    plugModel();
    ASSERT_TRUE(logic->isDeviceReady());
    bus->setEnumerationFails(true);
    EXPECT_TRUE(logic->isDeviceReady());
}

} // namespace
