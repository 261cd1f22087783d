#include "StudioTestSupport.h"

namespace Conduit2::Sim::Testing {
namespace {

// Calls back into the device from plug() and unplug(), as the bus does when
// it enumerates.
class EnumeratingPort final : public DevicePort {
public:
    void plug() override { productIds.push_back(le16(model->control({0x80, 6, 0x0100, 0, 18}, {}).data, 10)); }
    void unplug() override { modes.push_back(model->mode()); }

    TrovixStudioModel* model = nullptr;
    std::vector<std::uint16_t> productIds;
    std::vector<eStudioMode> modes;
};

class BusLifecycleTest : public StudioTest {
protected:
    std::uint16_t productId() { return le16(descriptor(0x0100), 10); }
    std::uint16_t release() { return le16(descriptor(0x0100), 12); }

    void detachIntoDfuMode()
    {
        ASSERT_EQ(dfuOut(DfuDetach, 1000), ControlReply::Ack);
        clock.advance(400ms);
        ASSERT_EQ(model->mode(), eStudioMode::Dfu);
        port.events.clear();
    }

    // Writes both images in DFU mode, then resets the device and lets it boot.
    void updateAndReset(const Bytes& imageA, const Bytes& imageB)
    {
        ASSERT_TRUE(writeImageB(imageB));
        downloadImage(imageA);
        manifest();
        model->busReset();
        EXPECT_EQ(port.events, Events{"unplug"});
        clock.advance(999ms);
        EXPECT_EQ(port.events, Events{"unplug"});
        clock.advance(1ms);
        EXPECT_EQ(port.events, (Events{"unplug", "plug"}));
    }
};

TEST_F(BusLifecycleTest, DetachWithWillDetachDropsOffAndReenumeratesInDfuMode)
{
    start();
    EXPECT_EQ(productId(), StudioRunTimeProductId);
    ASSERT_EQ(dfuOut(DfuDetach, 1000), ControlReply::Ack);
    EXPECT_EQ(getState(), eDfuState::AppDetach);
    clock.advance(4ms);
    EXPECT_TRUE(port.events.empty());
    clock.advance(1ms);
    EXPECT_EQ(port.events, Events{"unplug"});
    EXPECT_EQ(in(0x80, 6, 0x0100, 0, 18).kind, ControlReply::NoAnswer);
    clock.advance(300ms);
    EXPECT_EQ(port.events, (Events{"unplug", "plug"}));
    EXPECT_EQ(productId(), StudioDfuProductId);
    EXPECT_EQ(getStatus().state, eDfuState::DfuIdle);
}

TEST_F(BusLifecycleTest, ResetDuringTheDetachDropDelayReenumeratesOnce)
{
    start();
    ASSERT_EQ(dfuOut(DfuDetach, 1000), ControlReply::Ack);
    clock.advance(2ms);
    model->busReset();
    clock.advance(1s);
    EXPECT_EQ(port.events, (Events{"unplug", "plug"}));
    EXPECT_EQ(model->mode(), eStudioMode::Dfu);
}

TEST_F(BusLifecycleTest, WithoutWillDetachAResetWithinTheDetachTimeOutEntersDfuMode)
{
    TrovixStudioModel::Config config;
    config.dfuAttributes = 0x05;
    start(config);
    ASSERT_EQ(dfuOut(DfuDetach, 1000), ControlReply::Ack);
    EXPECT_EQ(dfuOut(DfuAbort), ControlReply::Stall); // any other request ends appDETACH
    EXPECT_EQ(getState(), eDfuState::AppIdle);
    ASSERT_EQ(dfuOut(DfuDetach, 1000), ControlReply::Ack);
    clock.advance(999ms);
    EXPECT_TRUE(port.events.empty());
    model->busReset();
    EXPECT_EQ(port.events, Events{"unplug"});
    clock.advance(300ms);
    EXPECT_EQ(port.events, (Events{"unplug", "plug"}));
    EXPECT_EQ(model->mode(), eStudioMode::Dfu);
}

TEST_F(BusLifecycleTest, WithoutWillDetachTheTimeOutReturnsToAppIdleWhereAResetDoesNothing)
{
    TrovixStudioModel::Config config;
    config.dfuAttributes = 0x05;
    start(config);
    ASSERT_EQ(dfuOut(DfuDetach, 1000), ControlReply::Ack);
    clock.advance(1000ms);
    EXPECT_EQ(getState(), eDfuState::AppIdle);
    model->busReset();
    clock.advance(10s);
    EXPECT_TRUE(port.events.empty());
    EXPECT_EQ(model->mode(), eStudioMode::RunTime);
}

TEST_F(BusLifecycleTest, BootsTheUpdateWhenTheFlashHoldsTheExpectedImages)
{
    start(withFirmware());
    detachIntoDfuMode();
    updateAndReset(pattern(StudioImageARoom, 1), pattern(StudioImageBRoom, 2));
    EXPECT_EQ(productId(), StudioRunTimeProductId);
    EXPECT_EQ(release(), 33);
    EXPECT_EQ(in(0xC0, 0xB3, 0, 0x1D, 2).data, (Bytes{0x67, 0x00}));
}

TEST_F(BusLifecycleTest, StaysInTheBootLoaderWithWrongOrIncompleteImages)
{
    auto wrongA = pattern(StudioImageARoom, 1);
    wrongA[30000] ^= 1;
    const std::vector<std::pair<Bytes, Bytes>> cases{
        {wrongA, pattern(StudioImageBRoom, 2)},
        {pattern(StudioImageARoom - 1, 1), pattern(StudioImageBRoom, 2)},
        {pattern(StudioImageARoom, 1), pattern(StudioImageBRoom - 256, 2)},
    };
    for (const auto& [imageA, imageB] : cases) {
        start(withFirmware());
        detachIntoDfuMode();
        updateAndReset(imageA, imageB);
        EXPECT_EQ(productId(), StudioDfuProductId);
        EXPECT_EQ(release(), 32);
    }
}

// An ImageB without its end transfer, or an ImageA download aborted instead
// of closed, does not count even with every byte right.
TEST_F(BusLifecycleTest, ImagesCountOnlyOnceTheirWritesWereEnded)
{
    auto config = withFirmware();
    config.startsInDfuMode = true;
    const auto& imageA = config.expectedImageA;
    for (const bool endImageB : {false, true}) {
        start(config);
        for (std::uint16_t chunk = 0; chunk < 60; ++chunk) {
            out(0x41, 0x1D, chunk, 0, slice(config.expectedImageB, chunk * 256u, 256));
        }
        for (std::uint16_t block = 0; block < 15; ++block) {
            sendBlock(block, slice(imageA, block * 4096u, 4096));
        }
        if (endImageB) {
            EXPECT_EQ(out(0x41, 0x1D, 60, 0), ControlReply::Stall); // only between downloads
            dfuOut(DfuAbort);
            EXPECT_EQ(out(0x41, 0x1D, 60, 0), ControlReply::Ack);
        } else {
            dfuOut(DfuDnload, 14);
            manifest();
        }
        model->busReset();
        clock.advance(1s);
        EXPECT_EQ(model->imageA(), imageA);
        EXPECT_EQ(model->mode(), eStudioMode::Dfu);
    }
}

TEST_F(BusLifecycleTest, UnplugAtBlockLeavesTheBusOnceUntilReplugged)
{
    TrovixStudioModel::Config config;
    config.faults = {{.kind = eFaultKind::Unplug, .request = dfuDownloadBlock(3)}};
    start(config);
    detachIntoDfuMode();
    for (std::uint16_t block = 0; block < 3; ++block) {
        sendBlock(block, pattern(4096, 0));
    }
    EXPECT_EQ(dfuOut(DfuDnload, 3, pattern(4096, 0)), ControlReply::NoAnswer);
    EXPECT_EQ(port.events, Events{"unplug"});
    clock.advance(1min);
    EXPECT_EQ(model->mode(), eStudioMode::Off);
    model->replug();
    clock.advance(1s);
    EXPECT_EQ(port.events, (Events{"unplug", "plug"}));
    EXPECT_EQ(model->mode(), eStudioMode::Dfu);
    downloadImage(pattern(5 * 4096, 0));
    EXPECT_EQ(model->imageA().size(), 5u * 4096);
}

TEST_F(BusLifecycleTest, OtherSerialNumberInDfuModeOnly)
{
    auto config = withFirmware();
    config.serialInDfuMode = "TVS0099999";
    start(config);
    detachIntoDfuMode();
    EXPECT_EQ(model->serialNumber(), "TVS0099999");
    EXPECT_EQ(descriptor(0x0303, 0x0409).size(), 22u);
    updateAndReset(config.expectedImageA, config.expectedImageB);
    EXPECT_EQ(model->serialNumber(), "TVS0012345");
}

// Pulled out and back in, a device that never came back to DFU mode still
// runs its installed firmware; one reset in DFU mode stays in DFU mode.
TEST_F(BusLifecycleTest, NeverReturnsAfterLeavingForDfuModeOrAReset)
{
    TrovixStudioModel::Config config;
    config.neverReturns = true;
    start(config);
    ASSERT_EQ(dfuOut(DfuDetach, 1000), ControlReply::Ack);
    clock.advance(1min);
    EXPECT_EQ(port.events, Events{"unplug"});
    model->replug();
    clock.advance(1s);
    EXPECT_EQ(release(), 32);

    config.startsInDfuMode = true;
    start(config);
    model->busReset();
    clock.advance(1min);
    EXPECT_EQ(port.events, Events{"unplug"});
    model->replug();
    clock.advance(1s);
    EXPECT_EQ(model->mode(), eStudioMode::Dfu);
}

TEST_F(BusLifecycleTest, PortMayCallBackIntoTheDeviceFromPlugAndUnplug)
{
    start();
    EnumeratingPort enumerating;
    enumerating.model = model.get();
    model->attach(&enumerating);
    ASSERT_EQ(dfuOut(DfuDetach, 1000), ControlReply::Ack);
    clock.advance(400ms);
    model->busReset();
    clock.advance(1s);
    EXPECT_EQ(enumerating.productIds, (std::vector<std::uint16_t>{StudioDfuProductId, StudioDfuProductId}));
    EXPECT_EQ(enumerating.modes, (std::vector<eStudioMode>{eStudioMode::Off, eStudioMode::Off}));
}

TEST_F(BusLifecycleTest, PendingStepsDoNothingOnceTheModelIsGone)
{
    start();
    ASSERT_EQ(dfuOut(DfuDetach, 1000), ControlReply::Ack);
    model.reset();
    clock.advance(1s);
    EXPECT_TRUE(port.events.empty());
}

} // namespace
} // namespace Conduit2::Sim::Testing
