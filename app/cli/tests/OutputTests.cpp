#include "cli/AttachedDevices.h"
#include "cli/FirmwareReport.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace {

TEST(FirmwareReport, JsonObjectAndText)
{
    const Cli::FirmwareReport report{"TVS\"1", "33 / 0x65", "33 / 0x67", true};
    EXPECT_EQ(Cli::firmwareReportJson(report),
              R"({"serial":"TVS\"1","installed":"33 / 0x65","newest":"33 / 0x67","updateAvailable":true})");
    EXPECT_EQ(Cli::firmwareReportJson({"TVS1", "33", "33", false}),
              R"({"serial":"TVS1","installed":"33","newest":"33","updateAvailable":false})");

    std::ostringstream text;
    Cli::printFirmwareReport(report, text);
    EXPECT_EQ(text.str(), "Serial number:      TVS\"1\n"
                          "Installed firmware: 33 / 0x65\n"
                          "Newest firmware:    33 / 0x67\n"
                          "Update available:   yes\n");
}

TEST(DeviceTable, AlignsColumnsToTheLongestSerial)
{
    const std::vector<Cli::AttachedDevice> devices = {
        {"TVS0012345", false, 32, 0x65},
        {"TVS-WITH-A-LONG-SERIAL", true, 33, std::nullopt},
        {"TVS7", false, 33, 0x6A},
    };
    EXPECT_EQ(Cli::deviceTable(devices), "SERIAL NUMBER           MODE      FIRMWARE\n"
                                         "TVS0012345              run-time  32 / 0x65\n"
                                         "TVS-WITH-A-LONG-SERIAL  update    33\n"
                                         "TVS7                    run-time  33 / 0x6A\n");
    EXPECT_EQ(Cli::deviceTable({}), "SERIAL NUMBER  MODE      FIRMWARE\n");
}

} // namespace
