#include "LogicFixture.h"

#include <logic/Credits.h>
#include <logic/PostUpdateCheck.h>
#include <logic/UpdaterDescription.h>
#include <logic/UpdaterMessages.h>

namespace {

TEST(UpdaterMessages, FillEveryPlaceholderOccurrence)
{
    EXPECT_EQ(UpdaterMessages::format(UpdaterMessages::Error, "Trovix Studio", -2, "TVS Updater"),
              "An error occurred while updating your Trovix Studio (error -2). Please disconnect the Trovix Studio, "
              "unpower it and quit the TVS Updater. Then reconnect the Trovix Studio, restart TVS Updater and try "
              "performing the update again. Alternatively contact the VX Technical Support.");
    EXPECT_EQ(UpdaterMessages::format(UpdaterMessages::Success, "Trovix Studio", 0, "TVS Updater"),
              "The firmware of your Trovix Studio was successfully updated.");
}

TEST_F(LogicTest, DescriptionTextsAndCallbacksReachTheLogic)
{
    const UpdaterDescription d = UpdaterDescription::forLogic(*logic);
    EXPECT_EQ(d.deviceName, "Trovix Studio");
    EXPECT_EQ(d.windowTitle, "TVS Updater");
    EXPECT_EQ(d.applicationTitle, "TROVIX STUDIO UPDATER");
    EXPECT_EQ(d.copyrightText, "\xC2\xA9 2018");
    EXPECT_EQ(d.versionText, "1.1.0 (R147)");
    EXPECT_EQ(d.instanceName, "TVSUpdater-1816A7A9-1D81-4c3a-939B-FD9A3ED02943");
    // The credit lines name the credited projects, in order, and nothing else.
    std::string shown;
    for (const auto& line : d.contributorLines) {
        shown += line.empty() ? "" : line.ends_with(",") ? line + " " : line;
    }
    std::string credited;
    for (const Credit& credit : credits) {
        credited += (credited.empty() ? "" : ", ") + std::string(credit.name);
    }
    EXPECT_EQ(shown, credited);
    EXPECT_EQ(d.contributorLines[4], "");
    EXPECT_FALSE(d.isDeviceReady());
    plugModel();
    EXPECT_TRUE(d.isDeviceReady());
}

TEST_F(LogicTest, PostUpdateCheckRescansOnceMoreAfterFiveSeconds)
{
    const UpdaterDescription d = UpdaterDescription::forLogic(*logic);
    PostUpdateReport report;
    const auto begin = clock.now();
    EXPECT_FALSE(checkUpdatedDevice(d, report));
    EXPECT_EQ(clock.now() - begin, std::chrono::milliseconds(5000));
}

} // namespace
