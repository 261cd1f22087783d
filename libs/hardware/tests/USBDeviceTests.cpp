#include "DeviceLayerFixture.h"

#include <conduit2/DeviceCatalogue.h>
#include <conduit2/DriverRecords.h>
#include <conduit2/HardwareLog.h>
#include <conduit2/OsErrors.h>
#include <conduit2/USBDevice.h>
#include <conduit2/USBDeviceFactory.h>

#include <thread>

namespace {

using namespace Conduit2;
using namespace std::chrono_literals;
using Conduit2::Testing::DeviceLayerTest;
using Conduit2::Testing::FakeUsbDevice;

class Channel : public DeviceLayerTest {
protected:
    USBDeviceOSHandle firstTarget()
    {
        USBDeviceOSHandle found;
        USBDeviceFactory factory;
        factory.setCallbacks([&](const USBDeviceOSHandle& h, const USBDeviceFilter&) { found = h; }, nullptr);
        factory.scan(targetUsbFilter, false);
        return found;
    }

    std::shared_ptr<FakeUsbDevice> studio = plugStudio("TVS7");
    USBDevice device;
};

TEST_F(Channel, OpenReadsTheIdentityAndCloseKeepsIt)
{
    const auto handle = firstTarget();
    ASSERT_TRUE(device.open(handle));
    EXPECT_TRUE(device.isOpen());
    EXPECT_EQ(device.path(), handle.devicePath);
    EXPECT_EQ(device.info(), (USBDeviceInfo{0x17CC, 0x1300, 0x0020, "Maker", "Fake Device", "TVS7"}));
    device.close();
    EXPECT_FALSE(device.isOpen());
    EXPECT_TRUE(device.path().empty());
    EXPECT_EQ(device.info().serialNumber, "TVS7");
}

TEST_F(Channel, FailedOpenKeepsPathAndIdentity)
{
    const auto handle = firstTarget();
    ASSERT_TRUE(device.open(handle));
    EXPECT_FALSE(device.open({u"usb#vid_17cc&pid_1300&rev_0020#sim-5#{369b4bde-0bbc-415c-858b-eed47c55057f}"}));
    EXPECT_FALSE(device.isOpen());
    EXPECT_EQ(device.path(), handle.devicePath);
    EXPECT_EQ(device.info().serialNumber, "TVS7");
    ControlRequest request{0xC0, 0xB3, 0, 0x1D, 0, nullptr, 0};
    EXPECT_EQ(device.controlTransfer(request), OsError::InvalidHandle);
}

TEST_F(Channel, DeviceWithoutDescriptorAnswerOpensWithIdsFromThePath)
{
    const auto handle = firstTarget();
    ASSERT_TRUE(device.open(handle));
    studio->stopAnswering();
    ASSERT_TRUE(device.open(handle));
    EXPECT_EQ(device.info().productId, 0x1300);
    EXPECT_EQ(device.info().bcdDevice, 0x0020);
    EXPECT_EQ(device.info().serialNumber, "TVS7");  // strings from before
}

TEST_F(Channel, ControlTransfersCarryTheSetupAndTheData)
{
    ASSERT_TRUE(device.open(firstTarget()));
    std::uint8_t value[2] = {};
    ControlRequest in{0xC0, 0xB3, 0, 0x1D, 2, value, 99};
    EXPECT_EQ(device.controlTransfer(in), OsError::Success);
    EXPECT_EQ(in.bytesTransferred, 2u);
    EXPECT_EQ(value[0], 0xA5);

    std::uint8_t chunk[3] = {1, 2, 3};
    ControlRequest out{0x41, 0x1D, 7, 0, 3, chunk, 99};
    EXPECT_EQ(device.controlTransfer(out), OsError::Success);
    EXPECT_EQ(out.bytesTransferred, 0u);

    ControlRequest noLength{0x21, 0x01, 4, 1, 0, chunk, 0};  // data, but wLength 0
    EXPECT_EQ(device.controlTransfer(noLength), OsError::Success);

    const auto setups = studio->received();
    const auto data = studio->receivedData();
    ASSERT_GE(setups.size(), 3u);
    const auto n = setups.size();
    EXPECT_EQ(setups[n - 3].bmRequestType, 0xC0);
    EXPECT_EQ(setups[n - 3].wIndex, 0x1D);
    EXPECT_EQ(setups[n - 2].bRequest, 0x1D);
    EXPECT_EQ(setups[n - 2].wValue, 7);
    EXPECT_EQ(data[n - 2], (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(setups[n - 1].wLength, 0);
    EXPECT_TRUE(data[n - 1].empty());
}

TEST_F(Channel, RequestThatIsNeverAnsweredTimesOutAfter500MsAndIsCancelled)
{
    ASSERT_TRUE(device.open(firstTarget()));
    setLogThreshold(1);
    enableLogCategory("USBDevice");
    std::FILE* log = std::tmpfile();
    setLogStream(1, log);
    studio->stopAnswering();

    const auto start = clock.now();
    std::uint8_t value[2] = {7, 7};
    ControlRequest request{0xC0, 0xB3, 0, 0x1D, 2, value, 0};
    EXPECT_EQ(device.controlTransfer(request), OsError::Timeout);
    EXPECT_EQ(clock.now() - start, 500ms);
    EXPECT_EQ(value[0], 7);

    std::rewind(log);
    char line[128] = {};
    ASSERT_NE(std::fgets(line, sizeof line, log), nullptr);
    EXPECT_STREQ(line, "USBDevice: deviceIoControl timed out after 500 ms)\n");
    resetHardwareLog();
    std::fclose(log);
}

TEST_F(Channel, LateAnswersWithinTheTimeOutSucceedAndTimeOutsAreChosenByTheCaller)
{
    ASSERT_TRUE(device.open(firstTarget()));
    studio->delayAnswers(300ms);
    std::uint8_t value[2] = {};
    ControlRequest request{0xC0, 0xB3, 0, 0x1D, 2, value, 0};
    EXPECT_EQ(device.controlTransfer(request), OsError::Success);
    EXPECT_EQ(request.bytesTransferred, 2u);

    const auto record = buildControlRecord({0xC0, 0xB3, 0, 0x1D, 2});
    EXPECT_EQ(device.deviceIoControl(DriverRequest::ControlTransfer, record.data(), 16, value, 2, nullptr, 200),
              OsError::Timeout);
    Basalt::Event cancel;
    cancel.set();
    EXPECT_EQ(device.deviceIoControl(DriverRequest::ControlTransfer, record.data(), 16, value, 2, nullptr, 0, &cancel),
              OsError::Cancelled);
    // The cancelled transfers never complete into the buffer.
    value[0] = 9;
    clock.advance(1s);
    EXPECT_EQ(value[0], 9);
}

TEST_F(Channel, TheDriverOpensOnlyAPathOfADevicePresentNow)
{
    const std::u16string path = u"usb#vid_17cc&pid_1300&rev_0020#sim-1#{369b4bde-0bbc-415c-858b-eed47c55057f}";
    const struct {
        std::u16string path;
        std::uint32_t status;
    } cases[] = {
        {path, OsError::Success},
        {u"USB#VID_17CC&PID_1300&REV_0020#SIM-1#{369B4BDE-0BBC-415C-858B-EED47C55057F}", OsError::Success},
        {u"usb#vid_17cc&pid_1302&rev_0020#sim-1#{369b4bde-0bbc-415c-858b-eed47c55057f}", OsError::NotFound},
        {u"usb#vid_17cc&pid_1300&rev_0020#sim-1#{9eb60cc9-94a9-4ae1-a494-77303704cc40}", OsError::NotFound},
        {u"usb#vid_17cc&pid_1300&rev_0020#sim-1#{x}", OsError::NotFound},
        {u"usb#vid_17cc&pid_1300&rev_0020#sim-2#{369b4bde-0bbc-415c-858b-eed47c55057f}", OsError::NotFound},
        {u"usb#vid_17cc&pid_1300&rev_0020#sim-1", OsError::NotFound},
    };
    std::unique_ptr<DriverHandle> handle;
    for (const auto& c : cases) {
        EXPECT_EQ(UsbDriver::instance().open(c.path, handle), c.status) << std::string(c.path.begin(), c.path.end());
    }
    bus->setEnumerationFails(true);
    EXPECT_EQ(UsbDriver::instance().open(path, handle), OsError::NotFound) << "the bus cannot list its devices";
    bus->setEnumerationFails(false);
    studio->unplug();
    EXPECT_EQ(UsbDriver::instance().open(path, handle), OsError::NotFound) << "unplugged";
}

TEST_F(Channel, UnpluggedDeviceFailsAsNotConnected)
{
    ASSERT_TRUE(device.open(firstTarget()));
    studio->unplug();
    ControlRequest request{0x41, 0x1D, 0, 0, 0, nullptr, 0};
    EXPECT_EQ(device.controlTransfer(request), OsError::DeviceNotConnected);
}

TEST_F(Channel, AnswerGivenJustBeforeLeavingTheBusStillCounts)
{
    ASSERT_TRUE(device.open(firstTarget()));
    studio->leaveAfterNextAnswer();
    ControlRequest detach{0x21, 0x00, 1000, 1, 0, nullptr, 0};
    EXPECT_EQ(device.controlTransfer(detach), OsError::Success);
    EXPECT_EQ(device.controlTransfer(detach), OsError::DeviceNotConnected);
}

TEST_F(Channel, DriverAnswersItsVersionAndRefusesUnknownRequests)
{
    ASSERT_TRUE(device.open(firstTarget()));
    std::uint32_t version = 0;
    ASSERT_TRUE(device.readDriverVersion(version));
    EXPECT_EQ(version, 0x02010000u);
    EXPECT_EQ(device.deviceIoControl(0x80892FF0, nullptr, 0, nullptr, 0, nullptr), OsError::InvalidFunction);
    std::uint8_t tooShort[3];
    EXPECT_EQ(device.deviceIoControl(DriverRequest::ControlTransfer, tooShort, 3, nullptr, 0, nullptr),
              OsError::InvalidParameter);
}

TEST_F(Channel, TransfersFromSeveralThreadsAtOnce)
{
    ASSERT_TRUE(device.open(firstTarget()));
    std::vector<std::thread> threads;
    std::atomic<int> failures{0};
    for (int t = 0; t < 6; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 200; ++i) {
                std::uint8_t value[2] = {};
                std::uint8_t chunk[4] = {static_cast<std::uint8_t>(t), 1, 2, 3};
                ControlRequest in{0xC0, 0xB3, 0, 0x1D, 2, value, 0};
                ControlRequest out{0x41, 0x1D, static_cast<std::uint16_t>(i), 0, 4, chunk, 0};
                if (device.controlTransfer(in) != 0 || in.bytesTransferred != 2 || value[1] != 0xA5
                    || device.controlTransfer(out) != 0) {
                    ++failures;
                }
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(failures, 0);
}

} // namespace
