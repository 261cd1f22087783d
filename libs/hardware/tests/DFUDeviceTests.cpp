#include "DeviceLayerFixture.h"
#include "RecordingModel.h"

#include <conduit2/DFUDevice.h>
#include <conduit2/DeviceCatalogue.h>
#include <conduit2/HardwareLog.h>
#include <conduit2/OsErrors.h>
#include <conduit2/USBDeviceFactory.h>
#include <sim/TrovixStudioModel.h>

#include <numeric>

namespace {

using namespace Conduit2;
using namespace std::chrono_literals;
using Conduit2::Testing::DeviceLayerTest;
using Conduit2::Testing::RecordingModel;

std::vector<std::uint8_t> pattern(std::size_t size)
{
    std::vector<std::uint8_t> bytes(size);
    std::iota(bytes.begin(), bytes.end(), std::uint8_t{1});
    return bytes;
}

class Dfu : public DeviceLayerTest {
protected:
    // Plugs a simulated Trovix Studio (recorded) and opens it.
    void start(Sim::StudioConfig config)
    {
        model = std::make_shared<Sim::TrovixStudioModel>(std::move(config));
        recorder = std::make_shared<RecordingModel>(model);
        bus->attach(recorder);
        ASSERT_TRUE(openFirst());
    }

    bool openFirst()
    {
        USBDeviceFactory factory;
        factory.setCallbacks([&](const USBDeviceOSHandle& h, const USBDeviceFilter&) { device.openAndCheckDfu(h); },
                             nullptr);
        factory.scan(targetUsbFilter, false);
        return device.isOpen();
    }

    static Sim::StudioConfig inDfuMode(std::uint16_t transferSize = 1024)
    {
        Sim::StudioConfig config;
        config.startsInDfuMode = true;
        config.transferSize = transferSize;
        return config;
    }

    // (wValue, wLength) of every DFU_DNLOAD the device received.
    std::vector<std::pair<int, int>> blocks()
    {
        std::vector<std::pair<int, int>> sent;
        for (const auto& entry : recorder->requests(0x21, 1)) {
            sent.emplace_back(entry.setup.wValue, entry.setup.wLength);
        }
        return sent;
    }

    std::shared_ptr<Sim::TrovixStudioModel> model;
    std::shared_ptr<RecordingModel> recorder;
    DFUDevice device;
    DfuStatus status;
};

using Blocks = std::vector<std::pair<int, int>>;

TEST_F(Dfu, BlockNumberingRepeatsTheLastNumberOnlyAfterAShortBlock)
{
    start(inDfuMode(1024));
    const auto exact = pattern(3 * 1024);
    ASSERT_TRUE(device.download(exact.data(), exact.size(), status));
    EXPECT_EQ(blocks(), (Blocks{{0, 1024}, {1, 1024}, {2, 1024}, {3, 0}}));
    EXPECT_EQ(model->imageA(), exact);
}

// An updater ended during a download leaves the device after a block, polled
// (dfuDNBUSY) or not (dfuDNLOAD-SYNC); the next download starts from block 0.
TEST_F(Dfu, ADownloadLeftUnfinishedIsAbortedBeforeANewOne)
{
    start(inDfuMode(1024));
    auto block = pattern(1024);
    for (const bool polled : {true, false}) {
        ControlRequest left{0x21, 1, 0, 0, 1024, block.data(), 0};
        ASSERT_EQ(device.controlTransfer(left), OsError::Success);
        if (polled) {
            ASSERT_TRUE(device.getStatus(status));
        }
        EXPECT_TRUE(device.returnToIdle()) << polled;
    }
    const auto image = pattern(2 * 1024 + 10);
    ASSERT_TRUE(device.download(image.data(), image.size(), status));
    EXPECT_EQ(model->imageA(), image);
}

TEST_F(Dfu, ShortLastBlockAndShortImage)
{
    start(inDfuMode(1024));
    const auto image = pattern(2 * 1024 + 10);
    ASSERT_TRUE(device.download(image.data(), image.size(), status));
    EXPECT_EQ(blocks(), (Blocks{{0, 1024}, {1, 1024}, {2, 10}, {2, 0}}));

    const auto small = pattern(100);
    ASSERT_TRUE(device.download(small.data(), small.size(), status));
    const auto all = blocks();
    EXPECT_EQ(Blocks(all.end() - 2, all.end()), (Blocks{{0, 100}, {0, 0}}));
}

TEST_F(Dfu, RefusalsAreReportedInTheStatus)
{
    start(inDfuMode(8192));
    std::FILE* log = std::tmpfile();
    setLogStream(2, log);
    const auto image = pattern(100);
    EXPECT_FALSE(device.download(image.data(), image.size(), status));
    EXPECT_EQ(status.bStatus, DfuStatusCode::ErrUnknown);
    EXPECT_FALSE(device.download(nullptr, 10, status));
    EXPECT_EQ(status.bStatus, DfuStatusCode::ErrTarget);
    EXPECT_TRUE(blocks().empty());
    std::rewind(log);
    char line[80] = {};
    ASSERT_NE(std::fgets(line, sizeof line, log), nullptr);
    EXPECT_STREQ(line, "DFUDevice: Unsupported wTransferSize (8192)\n");
    resetHardwareLog();
    std::fclose(log);
}

TEST_F(Dfu, NothingIsDownloadedOutsideDfuModeOrWithTransferSizeZero)
{
    start({});
    const auto image = pattern(100);
    EXPECT_FALSE(device.download(image.data(), image.size(), status));
    EXPECT_EQ(status.bStatus, DfuStatusCode::ErrWrite);
    EXPECT_FALSE(device.writeVendorImage(image.data(), image.size(), 1));
    EXPECT_TRUE(device.leaveDfuMode());  // run-time mode: nothing to send
    EXPECT_TRUE(recorder->requests(0x41, 0x1D).empty());
}

// The host waits the bwPollTimeout the device asks for, kept between 1 ms
// (no polling back to back) and 1 s.
class BusyPolling : public Dfu, public ::testing::WithParamInterface<std::pair<std::uint32_t, std::chrono::milliseconds>> {};

TEST_P(BusyPolling, PollsAreSpacedWithinBounds)
{
    auto config = inDfuMode(1024);
    config.busyAnswersPerBlock = 3;
    config.busyPollTimeoutMs = GetParam().first;
    start(config);
    const auto image = pattern(1024);
    ASSERT_TRUE(device.download(image.data(), image.size(), status));
    const auto polls = recorder->requests(0xA1, 3);
    ASSERT_GE(polls.size(), 4u);
    for (std::size_t i = 1; i < 4; ++i) {
        EXPECT_EQ(polls[i].at - polls[i - 1].at, GetParam().second);
    }
}

INSTANTIATE_TEST_SUITE_P(AskedFor, BusyPolling,
                         ::testing::Values(std::pair{5000u, 1000ms}, std::pair{0u, 1ms}, std::pair{20u, 20ms}));

// A device that stays busy after a block, or a tolerant one that never ends
// manifestation, fails the download after 120 s instead of holding it for ever.
class NeverFinishing : public Dfu, public ::testing::WithParamInterface<bool> {};

TEST_P(NeverFinishing, DownloadFailsAfterTheLimit)
{
    auto config = inDfuMode(1024);
    if (GetParam()) {
        config.busyAnswersPerBlock = 1000000;
        config.busyPollTimeoutMs = 50;
    } else {
        config.manifestationTime = 1h;
    }
    start(config);
    const auto image = pattern(1024);
    const auto begin = clock.now();
    EXPECT_FALSE(device.download(image.data(), image.size(), status));
    EXPECT_EQ(status.bStatus, DfuStatusCode::ErrUnknown);
    EXPECT_GE(clock.now() - begin, 120s);
    EXPECT_LT(clock.now() - begin, 121s);
}

INSTANTIATE_TEST_SUITE_P(BusyOrManifesting, NeverFinishing, ::testing::Bool(),
                         [](const auto& p) { return p.param ? "Busy" : "Manifesting"; });

// Busy 110 s after each of four blocks: every block is within the 120 s
// limit, the download as a whole is not (120 s and 1 s a KiB).
TEST_F(Dfu, TheWholeDownloadHasALimitThatGrowsWithTheImage)
{
    auto config = inDfuMode(1024);
    config.busyAnswersPerBlock = 110;
    config.busyPollTimeoutMs = 1000;
    start(config);
    const auto image = pattern(4096);
    EXPECT_EQ(Conduit2::DFUDevice::downloadLimit(image.size()), 124s);
    const auto begin = clock.now();
    EXPECT_FALSE(device.download(image.data(), image.size(), status));
    EXPECT_EQ(status.bStatus, DfuStatusCode::ErrUnknown);
    EXPECT_GE(clock.now() - begin, 124s);
    EXPECT_LT(clock.now() - begin, 126s);
}

TEST_F(Dfu, WaitResetAtOnceEndsTheDownloadWithoutWatching)
{
    auto config = inDfuMode(1024);
    config.waitResetAfterClosingBlock = true;
    start(config);
    const auto image = pattern(1500);
    const auto begin = clock.now();
    ASSERT_TRUE(device.download(image.data(), image.size(), status));
    EXPECT_EQ(status.bState, DfuState::ManifestWaitReset);
    EXPECT_LT(clock.now() - begin, 100ms);
}

class NotTolerant : public Dfu, public ::testing::WithParamInterface<int> {};

TEST_P(NotTolerant, DeviceMustComeBackInRunTimeModeWithinTheDetachTimeOut)
{
    auto config = inDfuMode(1024);
    config.dfuAttributes = 0x09;  // can download, will detach, not tolerant
    config.bootDelay = std::chrono::milliseconds(GetParam());
    config.expectedImageA = pattern(2000);
    config.expectedImageB = pattern(256);
    start(config);
    ASSERT_TRUE(device.writeVendorImage(config.expectedImageB.data(), 256, 1));
    const bool done = device.download(config.expectedImageA.data(), 2000, status);
    if (GetParam() < 1000) {
        ASSERT_TRUE(done);
        EXPECT_EQ(device.bInterfaceProtocol(), 1);  // reopened on the run-time device
        EXPECT_EQ(device.info().productId, 0x1300);
        EXPECT_TRUE(device.leaveDfuMode());
    } else {
        EXPECT_FALSE(done);
        EXPECT_EQ(status.bStatus, DfuStatusCode::ErrUnknown);
    }
}

INSTANTIATE_TEST_SUITE_P(BootDelays, NotTolerant, ::testing::Values(200, 3000));

TEST_F(Dfu, VendorImageGoesInChunksOf256WithATrailingRest)
{
    start(inDfuMode());
    const auto image = pattern(300);
    ASSERT_TRUE(device.writeVendorImage(image.data(), image.size(), 1));
    const auto sent = recorder->requests(0x41, 0x1D);
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].setup.wValue, 0);
    EXPECT_EQ(sent[0].setup.wLength, 256);
    EXPECT_EQ(sent[1].setup.wValue, 1);
    EXPECT_EQ(sent[1].setup.wLength, 44);
}

TEST_F(Dfu, ReconnectFindsTheSameSerialInDfuMode)
{
    start({});
    ASSERT_TRUE(device.detach());
    const auto begin = clock.now();
    ASSERT_TRUE(device.reconnectInDfuMode());
    EXPECT_EQ(clock.now() - begin, 5000ms);
    EXPECT_EQ(device.bInterfaceProtocol(), 2);
    EXPECT_EQ(device.info().serialNumber, "TVS0012345");
    EXPECT_TRUE(device.reconnectInDfuMode());  // already there: at once
    EXPECT_EQ(clock.now() - begin, 5000ms);
}

TEST_F(Dfu, ReconnectRefusesAnotherSerial)
{
    Sim::StudioConfig config;
    config.serialInDfuMode = "OTHER";
    start(config);
    ASSERT_TRUE(device.detach());
    EXPECT_FALSE(device.reconnectInDfuMode());
    EXPECT_FALSE(device.isOpen());
}

TEST_F(Dfu, SecondaryRevisionThroughTheVendorRequest)
{
    start({});
    std::uint32_t value = 0;
    ASSERT_TRUE(device.readVendorValue(1, value));
    EXPECT_EQ(value, 0x65u);
    const auto sent = recorder->requests(0xC0, 0xB3);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].setup.wIndex, 29);
}

} // namespace
