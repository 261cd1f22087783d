#include "DeviceLayerFixture.h"

#include <conduit2/DeviceCatalogue.h>
#include <conduit2/DriverRecords.h>
#include <conduit2/OsErrors.h>
#include <conduit2/USBDevice.h>
#include <conduit2/USBDeviceFactory.h>
#include <sim/TrovixStudioModel.h>

namespace {

using namespace Conduit2;
using namespace std::chrono_literals;
using Conduit2::Testing::DeviceLayerTest;

// The driver's DFU requests against the simulated Trovix Studio.
class DriverDfu : public DeviceLayerTest {
protected:
    void plugModel(Sim::StudioConfig config)
    {
        model = std::make_shared<Sim::TrovixStudioModel>(std::move(config));
        bus->attach(model);
    }

    bool openTarget()
    {
        device.close();
        USBDeviceFactory factory;
        factory.setCallbacks([&](const USBDeviceOSHandle& h, const USBDeviceFilter&) { device.open(h); }, nullptr);
        factory.scan(targetUsbFilter, false);
        return device.isOpen();
    }

    DfuInfo dfuInfo()
    {
        std::array<std::uint8_t, DfuInfoSize> record{};
        std::uint32_t received = 0;
        EXPECT_EQ(device.deviceIoControl(DriverRequest::DfuInfo, nullptr, 0, record.data(), 7, &received), 0u);
        EXPECT_EQ(received, 7u);
        return parseDfuInfo(record);
    }

    std::uint32_t request(std::uint32_t code, std::span<std::uint8_t> output = {})
    {
        return device.deviceIoControl(code, nullptr, 0, output.data(), static_cast<std::uint32_t>(output.size()),
                                      nullptr);
    }

    std::uint32_t download(std::uint16_t blockNumber, std::span<const std::uint8_t> data)
    {
        std::vector<std::uint8_t> block(DownloadBlockSize);
        writeLe16(&block[0], blockNumber);
        writeLe16(&block[2], static_cast<std::uint16_t>(data.size()));
        std::ranges::copy(data, block.begin() + 4);
        return device.deviceIoControl(DriverRequest::DfuDownload, block.data(), DownloadBlockSize, nullptr, 0,
                                      nullptr);
    }

    std::shared_ptr<Sim::TrovixStudioModel> model;
    USBDevice device;
};

TEST_F(DriverDfu, InformationRecordComesFromTheDfuInterface)
{
    plugModel({});
    ASSERT_TRUE(openTarget());
    const DfuInfo info = dfuInfo();
    EXPECT_EQ(info.bInterfaceProtocol, 1);
    EXPECT_EQ(info.bmAttributes, 0x0D);
    EXPECT_EQ(info.wDetachTimeOut, 1000);
    EXPECT_EQ(info.wTransferSize, 4096);
}

TEST_F(DriverDfu, DetachBringsTheDeviceBackInDfuMode)
{
    plugModel({});
    ASSERT_TRUE(openTarget());
    EXPECT_EQ(request(DriverRequest::DfuDetach), 0u);
    clock.advance(5000ms);
    ASSERT_TRUE(openTarget());
    EXPECT_EQ(device.info().productId, 0x1302);
    EXPECT_EQ(dfuInfo().bInterfaceProtocol, 2);
}

TEST_F(DriverDfu, DetachWithoutWillDetachIsFollowedByAPortReset)
{
    Sim::StudioConfig config;
    config.dfuAttributes = 0x05;
    plugModel(config);
    ASSERT_TRUE(openTarget());
    EXPECT_EQ(request(DriverRequest::DfuDetach), 0u);
    clock.advance(5000ms);
    EXPECT_EQ(model->mode(), Sim::eStudioMode::Dfu);
}

TEST_F(DriverDfu, DownloadStatusStateAbortAndLeave)
{
    Sim::StudioConfig config;
    config.startsInDfuMode = true;
    plugModel(config);
    ASSERT_TRUE(openTarget());
    const std::vector<std::uint8_t> image(100, 0x5A);
    EXPECT_EQ(download(0, image), 0u);
    std::array<std::uint8_t, 6> status{};
    std::array<std::uint8_t, 1> state{};
    do {
        ASSERT_EQ(request(DriverRequest::DfuGetStatus, status), 0u);
        EXPECT_EQ(status[0], 0);
    } while (status[4] == 4);  // dfuDNBUSY
    EXPECT_EQ(status[4], 5);   // dfuDNLOAD-IDLE
    ASSERT_EQ(request(DriverRequest::DfuGetState, state), 0u);
    EXPECT_EQ(state[0], 5);
    EXPECT_EQ(request(DriverRequest::DfuAbort), 0u);
    ASSERT_EQ(request(DriverRequest::DfuGetState, state), 0u);
    EXPECT_EQ(state[0], 2);  // dfuIDLE
    const auto flash = model->imageA();
    ASSERT_GE(flash.size(), image.size());
    EXPECT_TRUE(std::equal(image.begin(), image.end(), flash.begin()));

    EXPECT_EQ(request(DriverRequest::DfuLeave), 0u);  // a port reset: the boot loader stays (no valid images)
    clock.advance(5000ms);
    EXPECT_EQ(model->mode(), Sim::eStudioMode::Dfu);
}

TEST_F(DriverDfu, DfuRequestsOnADeviceWithoutDfuInterfaceFail)
{
    plugStudio();  // the fake has a DFU interface; a plain device has none
    plug(std::make_shared<Conduit2::Testing::FakeUsbDevice>(0x17CC, 0x1301));
    ASSERT_TRUE(openTarget());
    device.close();
    USBDeviceFactory factory;
    std::vector<USBDeviceOSHandle> found;
    factory.setCallbacks([&](const USBDeviceOSHandle& h, const USBDeviceFilter&) { found.push_back(h); }, nullptr);
    factory.scan(targetUsbFilter, false);
    ASSERT_EQ(found.size(), 2u);
    ASSERT_TRUE(device.open(found[1]));
    std::array<std::uint8_t, DfuInfoSize> record{};
    EXPECT_EQ(device.deviceIoControl(DriverRequest::DfuInfo, nullptr, 0, record.data(), 7, nullptr),
              OsError::GeneralFailure);
}

} // namespace
