#include "StudioTestSupport.h"

namespace Conduit2::Sim::Testing {
namespace {

class DfuDownloadTest : public StudioTest {
protected:
    void start(TrovixStudioModel::Config config = {})
    {
        config.startsInDfuMode = true;
        StudioTest::start(std::move(config));
    }

    void expectError(std::uint8_t status)
    {
        const auto answer = getStatus();
        EXPECT_EQ(answer.state, eDfuState::Error);
        EXPECT_EQ(answer.status, status);
    }

    void clearError() { ASSERT_EQ(dfuOut(DfuClrStatus), ControlReply::Ack); }
};

TEST_F(DfuDownloadTest, WholeImageWithAShortLastBlockAndARepeatedClosingNumber)
{
    TrovixStudioModel::Config config;
    config.busyAnswersPerBlock = 2;
    config.busyPollTimeoutMs = 5000;
    start(config);
    ASSERT_EQ(dfuOut(DfuDnload, 0, pattern(100, 1)), ControlReply::Ack);
    EXPECT_EQ(getState(), eDfuState::DnloadSync);
    EXPECT_EQ(getStatus().pollTimeoutMs, 5000u);
    ASSERT_EQ(dfuOut(DfuAbort), ControlReply::Stall); // not while dfuDNBUSY
    clearError();

    // Blocks 0 to 13 of 4096 bytes, block 14 of 3072, then the closing block 14 again.
    const auto image = pattern(StudioImageARoom, 9);
    EXPECT_EQ(downloadImage(image), 15 * 2);
    EXPECT_EQ(model->imageA(), image);
    EXPECT_EQ(getState(), eDfuState::ManifestSync);
    const auto manifesting = getStatus();
    EXPECT_EQ(manifesting.state, eDfuState::Manifest);
    EXPECT_EQ(manifesting.pollTimeoutMs, 50u);
    clock.advance(49ms);
    EXPECT_EQ(getState(), eDfuState::Manifest);
    clock.advance(1ms);
    EXPECT_EQ(getState(), eDfuState::ManifestSync);
    EXPECT_EQ(getStatus().state, eDfuState::DfuIdle);
}

TEST_F(DfuDownloadTest, BlocksAreNumberedFromZeroWithoutGaps)
{
    TrovixStudioModel::Config config;
    config.transferSize = 1024;
    start(config);
    EXPECT_EQ(dfuOut(DfuDnload, 1, pattern(64, 0)), ControlReply::Stall);
    expectError(0x0F);
    clearError();
    sendBlock(0, pattern(64, 0));
    EXPECT_EQ(dfuOut(DfuDnload, 2, pattern(64, 0)), ControlReply::Stall);
    clearError();
    sendBlock(0, pattern(1024, 0));
    EXPECT_EQ(dfuOut(DfuDnload, 2), ControlReply::Stall); // the closing block skips one
    clearError();

    const auto image = pattern(3 * 1024, 4);
    downloadImage(image, 1024); // the closing block follows the full block 2
    EXPECT_EQ(getState(), eDfuState::ManifestSync);
    EXPECT_EQ(model->imageA(), image);
}

// Each request is refused in dfuIDLE: it stalls and the device enters
// dfuERROR with that status, kept through further refusals until DFU_CLRSTATUS.
TEST_F(DfuDownloadTest, InvalidRequestsStallIntoErrorUntilClrStatus)
{
    const std::vector<std::pair<SetupPacket, std::uint8_t>> cases{
        {{0x21, DfuDetach, 0, 0, 0}, 0x0F},
        {{0xA1, DfuUpload, 0, 0, 64}, 0x0F},
        {{0x21, DfuDnload, 0, 0, 0}, 0x09},    // nothing downloaded yet
        {{0x21, DfuDnload, 0, 0, 4097}, 0x0F}, // more than wTransferSize
        {{0x21, DfuClrStatus, 0, 0, 0}, 0x0F},
        {{0x21, DfuGetStatus, 0, 0, 6}, 0x0F}, // wrong direction
        {{0x21, 7, 0, 0, 0}, 0x0F},
    };
    start();
    for (const auto& [setup, status] : cases) {
        SCOPED_TRACE(int(setup.bRequest));
        const Bytes data(setup.isDeviceToHost() ? 0 : setup.wLength, 0xAA);
        EXPECT_EQ(model->control(setup, data).kind, ControlReply::Stall);
        expectError(status);
        EXPECT_EQ(dfuOut(DfuAbort), ControlReply::Stall);
        expectError(status);
        clearError();
        const auto answer = getStatus();
        EXPECT_EQ(answer.state, eDfuState::DfuIdle);
        EXPECT_EQ(answer.status, 0);
    }
}

TEST_F(DfuDownloadTest, AbortEndsADownloadAndTheNextStartsAfresh)
{
    start();
    sendBlock(0, pattern(4096, 1));
    EXPECT_EQ(dfuOut(DfuAbort), ControlReply::Ack);
    EXPECT_EQ(getState(), eDfuState::DfuIdle);
    EXPECT_EQ(dfuOut(DfuDnload, 1, pattern(10, 2)), ControlReply::Stall);
    clearError();
    sendBlock(0, pattern(10, 2));
    EXPECT_EQ(model->imageA(), pattern(10, 2));
}

TEST_F(DfuDownloadTest, WriteFailuresStall)
{
    start();
    for (std::uint16_t block = 0; block < 14; ++block) {
        sendBlock(block, pattern(4096, 0));
    }
    EXPECT_EQ(dfuOut(DfuDnload, 14, pattern(4096, 0)), ControlReply::Stall); // beyond the flash room
    expectError(0x08);

    TrovixStudioModel::Config config;
    config.faults = {{.kind = eFaultKind::Stall, .request = dfuDownloadBlock(5), .repeats = true}};
    start(config);
    for (std::uint16_t block = 0; block < 5; ++block) {
        sendBlock(block, pattern(4096, 0));
    }
    EXPECT_EQ(dfuOut(DfuDnload, 5, pattern(4096, 0)), ControlReply::Stall);
    expectError(0x03);
    EXPECT_EQ(model->imageA().size(), 5u * 4096);

    // A write failure that goes away: the download starts again after
    // DFU_CLRSTATUS and the block is written the second time.
    config.faults[0].repeats = false;
    start(config);
    for (std::uint16_t block = 0; block < 5; ++block) {
        sendBlock(block, pattern(4096, 0));
    }
    EXPECT_EQ(dfuOut(DfuDnload, 5, pattern(4096, 0)), ControlReply::Stall);
    clearError();
    for (std::uint16_t block = 0; block < 6; ++block) {
        sendBlock(block, pattern(4096, 0));
    }
    EXPECT_EQ(model->imageA().size(), 6u * 4096);
}

TEST_F(DfuDownloadTest, NotTolerantDeviceWaitsForAReset)
{
    TrovixStudioModel::Config config;
    config.dfuAttributes = 0x01;
    start(config);
    downloadImage(pattern(5000, 3));
    EXPECT_EQ(getStatus().state, eDfuState::Manifest);
    clock.advance(50ms);
    EXPECT_EQ(getState(), eDfuState::ManifestWaitReset);
    clock.advance(10s);
    EXPECT_TRUE(port.events.empty());
    model->busReset();
    clock.advance(1s);
    EXPECT_EQ(port.events, (Events{"unplug", "plug"}));
    EXPECT_EQ(model->mode(), eStudioMode::Dfu);
}

// With bitWillDetach it resets itself; the flash holds the expected images,
// so it comes back running them.
TEST_F(DfuDownloadTest, NotTolerantDeviceThatWillDetachResetsItselfAfterManifestation)
{
    auto config = withFirmware();
    config.dfuAttributes = 0x09;
    start(config);
    ASSERT_TRUE(writeImageB(config.expectedImageB));
    downloadImage(config.expectedImageA);
    EXPECT_EQ(getStatus().state, eDfuState::Manifest);
    clock.advance(55ms);
    EXPECT_EQ(port.events, Events{"unplug"});
    clock.advance(1s);
    EXPECT_EQ(port.events, (Events{"unplug", "plug"}));
    EXPECT_EQ(model->mode(), eStudioMode::RunTime);
}

TEST_F(DfuDownloadTest, WaitResetKnobReportsManifestWaitResetAfterTheClosingBlock)
{
    TrovixStudioModel::Config config;
    config.waitResetAfterClosingBlock = true;
    start(config);
    downloadImage(pattern(100, 1));
    EXPECT_EQ(getState(), eDfuState::ManifestWaitReset);
    clock.advance(10s); // tolerant: it waits for the host's reset
    EXPECT_TRUE(port.events.empty());
}

} // namespace
} // namespace Conduit2::Sim::Testing
