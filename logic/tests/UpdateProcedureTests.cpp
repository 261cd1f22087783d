#include "LogicFixture.h"

#include <firmware/FirmwareImageSet.h>
#include <logic/PostUpdateCheck.h>

#include <future>
#include <thread>

namespace {

using namespace std::chrono_literals;
using Conduit2::Sim::StudioConfig;
using Conduit2::Sim::eStudioMode;

class Update : public LogicTest {
protected:
    // UPDATE on a device that offers one, through to the worker's result.
    std::int32_t runUpdate()
    {
        if (!logic->isDeviceReady() || !logic->enterUpdateMode() || !logic->startUpdate(result)) {
            return result.load();
        }
        const std::int32_t code = waitForResult(result);
        EXPECT_FALSE(logic->isUpdateRunning());
        return code;
    }

    bool deviceComesBackUpdated()
    {
        const auto description = UpdaterDescription::forLogic(*logic);
        PostUpdateReport report;
        return checkUpdatedDevice(description, report) && report.installed == "33";
    }

    UpdateResult result;
};

TEST_F(Update, FullUpdateWritesBothImagesAndTheDeviceComesBackUpdated)
{
    auto model = plugModel();
    const auto realStart = std::chrono::steady_clock::now();
    EXPECT_EQ(runUpdate(), UpdateResult::Done);
    EXPECT_TRUE(holdsCarriedFirmware(*model));
    EXPECT_TRUE(deviceComesBackUpdated());
    EXPECT_LT(std::chrono::steady_clock::now() - realStart, 1s);
    EXPECT_EQ(logic->writtenBytes(), TVSUpdaterUpgradeLogic::totalImageBytes());

    // ImageB in 61 transfers (60 of 256 bytes, then an empty one), before any of ImageA.
    const auto vendor = recorder->requests(0x41, 0x1D);
    ASSERT_EQ(vendor.size(), 61u);
    EXPECT_EQ(vendor.back().setup.wValue, 60);
    EXPECT_EQ(vendor.back().setup.wLength, 0);
    const auto dnload = recorder->requests(0x21, 1);
    ASSERT_FALSE(dnload.empty());
    EXPECT_LE(vendor.back().at, dnload.front().at);
    std::size_t imageABytes = 0;
    for (const auto& entry : dnload) {
        imageABytes += entry.setup.wLength;
    }
    EXPECT_EQ(imageABytes, FirmwareImageSet::ImageASize);
}

TEST_F(Update, DeviceAlreadyInUpdateModeIsNotDetached)
{
    StudioConfig config;
    config.startsInDfuMode = true;
    auto model = plugModel(config);
    const auto begin = clock.now();
    ASSERT_TRUE(logic->isDeviceReady());
    ASSERT_TRUE(logic->enterUpdateMode());
    EXPECT_EQ(clock.now(), begin);
    ASSERT_TRUE(logic->startUpdate(result));
    EXPECT_EQ(waitForResult(result), UpdateResult::Done);
    EXPECT_TRUE(recorder->requests(0x21, 0).empty());
    EXPECT_TRUE(holdsCarriedFirmware(*model));
}

// The window follows the reboot in steps and does the wait itself.
TEST_F(Update, TheRebootIntoUpdateModeInStepsLeavesTheWaitToTheCaller)
{
    auto model = plugModel();
    ASSERT_TRUE(logic->isDeviceReady());
    const auto begin = clock.now();
    EXPECT_EQ(logic->requestUpdateMode(), eUpdateModeStep::LookAfterWait);
    EXPECT_EQ(clock.now(), begin);
    clock.advance(UpdateModeWait);
    EXPECT_TRUE(logic->lookForUpdateMode());
    EXPECT_EQ(logic->requestInUpdateMode(), eUpdateModeStep::InUpdateMode) << "already there: no wait";
    ASSERT_TRUE(logic->startUpdate(result));
    EXPECT_EQ(waitForResult(result), UpdateResult::Done);
    EXPECT_TRUE(holdsCarriedFirmware(*model));
}

TEST_F(Update, RejectedDetachKeepsTheDeviceOpenWithoutTheReconnectWait)
{
    StudioConfig config;
    config.faults = {{.kind = Conduit2::Sim::eFaultKind::Lose, .request = {0x21, 0, {}}, .repeats = true}};
    plugModel(config);
    ASSERT_TRUE(logic->isDeviceReady());
    const auto begin = clock.now();
    EXPECT_FALSE(logic->enterUpdateMode());
    EXPECT_TRUE(logic->device().isOpen());
    EXPECT_LT(clock.now() - begin, 5000ms);
}

TEST_F(Update, DeviceThatComesBackWithAnotherSerialIsNotTaken)
{
    StudioConfig config;
    config.serialInDfuMode = "SOMEONE-ELSE";
    plugModel(config);
    ASSERT_TRUE(logic->isDeviceReady());
    EXPECT_FALSE(logic->enterUpdateMode());
    EXPECT_FALSE(logic->device().isOpen());
    EXPECT_EQ(logic->requestInUpdateMode(), eUpdateModeStep::NotInUpdateMode);
}

TEST_F(Update, EmptySerialTakesTheFirstDeviceInUpdateMode)
{
    StudioConfig config;
    config.serialNumber = "";
    auto model = plugModel(config);
    EXPECT_EQ(runUpdate(), UpdateResult::Done);
    EXPECT_TRUE(holdsCarriedFirmware(*model));
}

TEST_F(Update, DeviceStillInRunTimeModeAfterThePassFailsToStart)
{
    StudioConfig config;
    config.ignoreDetach = true;
    plugModel(config);
    ASSERT_TRUE(logic->isDeviceReady());
    EXPECT_TRUE(logic->enterUpdateMode());  // reopened in run-time mode, with a transfer size
    EXPECT_EQ(logic->device().bInterfaceProtocol(), 1);
    EXPECT_FALSE(logic->startUpdate(result));
    EXPECT_EQ(result.load(), UpdateResult::NotInUpdateMode);
}

TEST_F(Update, FailingImageBStopsBeforeImageAAndClosesTheDevice)
{
    StudioConfig config;
    config.faults = {{.kind = Conduit2::Sim::eFaultKind::Lose, .request = {0x41, 0x1D, {}}, .repeats = true}};
    auto model = plugModel(config);
    EXPECT_EQ(runUpdate(), UpdateResult::WriteFailed);
    EXPECT_TRUE(recorder->requests(0x21, 1).empty());   // no DFU_DNLOAD
    EXPECT_FALSE(recorder->requests(0x21, 6).empty());  // DFU_ABORT
    EXPECT_FALSE(logic->device().isOpen());
    EXPECT_TRUE(model->imageA().empty());
}

TEST_F(Update, StalledBlockFailsWithMinusTwoAndTheDeviceStaysInUpdateMode)
{
    StudioConfig config;
    config.faults = {{.kind = Conduit2::Sim::eFaultKind::Stall, .request = Conduit2::Sim::dfuDownloadBlock(5),
                      .repeats = true}};
    auto model = plugModel(config);
    EXPECT_EQ(runUpdate(), UpdateResult::WriteFailed);
    clock.advance(10s);
    EXPECT_EQ(model->mode(), eStudioMode::Dfu);
}

TEST_F(Update, DeviceBackOnlyAfterSevenSecondsIsFoundByTheSecondScan)
{
    StudioConfig config;
    config.bootDelay = 7000ms;
    plugModel(config);
    EXPECT_EQ(runUpdate(), UpdateResult::Done);
    const auto begin = clock.now();
    EXPECT_TRUE(deviceComesBackUpdated());
    EXPECT_EQ(clock.now() - begin, 5000ms);
}

TEST_F(Update, DeviceThatNeverComesBackIsErrorOne)
{
    StudioConfig config;
    config.neverReturns = true;
    config.startsInDfuMode = true;
    plugModel(config);
    EXPECT_EQ(runUpdate(), UpdateResult::Done);
    EXPECT_FALSE(deviceComesBackUpdated());
}

// Another Trovix Studio, already on the newest firmware, is not the one updated.
TEST_F(Update, AnotherUpToDateDeviceIsNotTakenForTheUpdatedOne)
{
    StudioConfig other;
    other.serialNumber = "OTHER";
    other.installedRelease = 33;
    other.secondaryRevision = 0x67;
    plugModel(other);
    StudioConfig updated;
    updated.neverReturns = true;
    updated.startsInDfuMode = true;
    plugModel(updated);
    EXPECT_EQ(runUpdate(), UpdateResult::Done);
    EXPECT_FALSE(deviceComesBackUpdated());
}

TEST_F(Update, QuitConfirmedDuringTheFinalWaitStopsTheWorkerWithoutAResult)
{
    plugModel();
    ASSERT_TRUE(logic->isDeviceReady());
    ASSERT_TRUE(logic->enterUpdateMode());
    // Hold the worker inside its final wait until the user has confirmed.
    std::promise<void> confirmed;
    std::promise<void> waiting;
    auto confirmation = confirmed.get_future().share();
    clock.schedule(2s, [&] {  // the writes take well under 2 s; the final wait is 5 s
        waiting.set_value();
        confirmation.wait();
    });
    ASSERT_TRUE(logic->startUpdate(result));
    waiting.get_future().wait();
    logic->stopUpdateThread();
    confirmed.set_value();
    for (int i = 0; i < 2000 && logic->isUpdateRunning(); ++i) {
        std::this_thread::sleep_for(1ms);
    }
    EXPECT_FALSE(logic->isUpdateRunning());
    EXPECT_EQ(result.load(), UpdateResult::Running);
}

TEST_F(Update, ReleasingTheLogicDuringAnUpdateIsSafe)
{
    StudioConfig config;
    config.busyAnswersPerBlock = 3;
    config.startsInDfuMode = true;
    auto model = plugModel(config);
    ASSERT_TRUE(logic->isDeviceReady());
    ASSERT_TRUE(logic->startUpdate(result));
    logic.reset();  // the program quits while the worker writes
    EXPECT_EQ(waitForResult(result), UpdateResult::Done);
    EXPECT_TRUE(holdsCarriedFirmware(*model));
}

} // namespace
