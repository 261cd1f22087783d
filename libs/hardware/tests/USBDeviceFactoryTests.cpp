#include "DeviceLayerFixture.h"

#include <conduit2/DeviceCatalogue.h>
#include <conduit2/IdentityReaders.h>
#include <conduit2/OsErrors.h>
#include <conduit2/USBDevice.h>
#include <conduit2/USBDeviceFactory.h>

#include <basalt/DeviceNotifications.h>

#include <optional>
#include <string>

namespace {

using namespace Conduit2;
using Conduit2::Testing::DeviceLayerTest;
using Conduit2::Testing::FakeUsbDevice;

class Factory : public DeviceLayerTest {
protected:
    void SetUp() override
    {
        DeviceLayerTest::SetUp();
        factory.setCallbacks([this](const USBDeviceOSHandle& h, const USBDeviceFilter&) { arrivals.push_back(h.devicePath); },
                             [this](const USBDeviceOSHandle& h, const USBDeviceFilter&) { removals.push_back(h.devicePath); });
    }

    USBDeviceFactory factory;
    std::vector<std::u16string> arrivals;
    std::vector<std::u16string> removals;
};

TEST_F(Factory, ScanReportsEveryDeviceOfTheTargetInterfaceWithoutMatchingIds)
{
    EXPECT_TRUE(factory.scan(targetUsbFilter, false));
    EXPECT_TRUE(arrivals.empty());

    plugStudio("A");
    plugStudio("B", 0x1302);  // DFU mode: the same interface, another product id
    plug(std::make_shared<FakeUsbDevice>(0x17CC, 0x1400));  // another product: not of the interface
    ASSERT_TRUE(factory.scan(targetUsbFilter, false));
    EXPECT_FALSE(factory.matchIds());
    ASSERT_EQ(arrivals.size(), 2u);
    EXPECT_EQ(arrivals[0], u"usb#vid_17cc&pid_1300&rev_0020#sim-1#{369b4bde-0bbc-415c-858b-eed47c55057f}");
    EXPECT_EQ(arrivals[1], u"usb#vid_17cc&pid_1302&rev_0020#sim-2#{369b4bde-0bbc-415c-858b-eed47c55057f}");
    EXPECT_TRUE(factory.lastScanOk());
}

// Locations of one, two and three digits, each device opened in the callback
// as the updater does.
TEST_F(Factory, AScanOfManyDevicesOffersEachOnceAndItsOpenReachesThatDevice)
{
    constexpr int Count = 120;
    for (int i = 1; i <= Count; ++i) {
        plugStudio("TVS" + std::to_string(i));
    }
    std::vector<std::string> serials;
    factory.setCallbacks(
        [&](const USBDeviceOSHandle& handle, const USBDeviceFilter&) {
            arrivals.push_back(handle.devicePath);
            USBDevice device;
            serials.push_back(device.open(handle) ? device.info().serialNumber : "not opened");
        },
        nullptr);
    ASSERT_TRUE(factory.scan(targetUsbFilter, false));
    ASSERT_EQ(arrivals.size(), std::size_t{Count});
    for (int i = 1; i <= Count; ++i) {
        const std::string location = "#sim-" + std::to_string(i) + "#";
        EXPECT_NE(arrivals[i - 1].find(std::u16string(location.begin(), location.end())), std::u16string::npos);
        EXPECT_EQ(serials[i - 1], "TVS" + std::to_string(i));
    }
}

// The callback's first open takes over the handle the factory opened; a
// second open, and an open of a copy kept past the callback, must each get a
// handle of their own.
TEST_F(Factory, EveryOpenOfAnOfferedDeviceGetsAWorkingHandle)
{
    plugStudio();
    USBDevice first, second, later;
    std::optional<USBDeviceOSHandle> kept;
    factory.setCallbacks(
        [&](const USBDeviceOSHandle& handle, const USBDeviceFilter&) {
            EXPECT_TRUE(first.open(handle));
            EXPECT_TRUE(second.open(handle));
            kept = handle;
        },
        nullptr);
    ASSERT_TRUE(factory.scan(targetUsbFilter, false));
    ASSERT_TRUE(kept);
    EXPECT_TRUE(later.open(*kept));
    for (USBDevice* device : {&first, &second, &later}) {
        std::uint8_t value[2] = {};
        ControlRequest request{0xC0, 0xB3, 0, 0x1D, 2, value, 0};
        EXPECT_EQ(device->controlTransfer(request), OsError::Success);
    }
}

TEST_F(Factory, MagicWordFiltersMatchIdsWhenTheyNameThem)
{
    plug(std::make_shared<FakeUsbDevice>(0x17CC, 0x1500));
    plug(std::make_shared<FakeUsbDevice>(0x1234, 0x1500));

    ASSERT_TRUE(factory.scan({GenericUSB, UsbGuidMagic, "IOUSBDevice", 0, 0}, false));
    EXPECT_FALSE(factory.matchIds());
    EXPECT_EQ(arrivals.size(), 2u);

    arrivals.clear();
    factory.reset();
    ASSERT_TRUE(factory.scan({GenericUSB, UsbGuidMagic, "IOUSBDevice", 0x17CC, 0}, false));
    EXPECT_TRUE(factory.matchIds());
    ASSERT_EQ(arrivals.size(), 1u);
    EXPECT_NE(arrivals[0].find(u"vid_17cc"), std::u16string::npos);
    EXPECT_EQ(factory.knownPaths().size(), 2u);  // the other one is known, not accepted
}

TEST_F(Factory, FilterFor0x1100AlsoTakes0x1101ButNotTheOtherWayRound)
{
    plug(std::make_shared<FakeUsbDevice>(0x17CC, 0x1101));
    ASSERT_TRUE(factory.scan({GenericUSB, UsbGuidMagic, "", 0x17CC, 0x1100}, false));
    EXPECT_EQ(arrivals.size(), 1u);
    plug(std::make_shared<FakeUsbDevice>(0x17CC, 0x1100));
    factory.reset();
    arrivals.clear();
    ASSERT_TRUE(factory.scan({GenericUSB, UsbGuidMagic, "", 0x17CC, 0x1101}, false));
    ASSERT_EQ(arrivals.size(), 1u);
    EXPECT_NE(arrivals[0].find(u"pid_1101"), std::u16string::npos);
}

TEST_F(Factory, FailedEnumerationReturnsFalseAndReportsNothing)
{
    plugStudio();
    bus->setEnumerationFails(true);
    EXPECT_FALSE(factory.scan(targetUsbFilter, false));
    EXPECT_FALSE(factory.lastScanOk());
    EXPECT_TRUE(arrivals.empty());
}

TEST_F(Factory, WatchingReportsArrivalsAndOnlyAcceptedRemovals)
{
    ASSERT_TRUE(factory.scan({GenericUSB, UsbGuidMagic, "", 0x17CC, 0}, true));
    auto maker = plug(std::make_shared<FakeUsbDevice>(0x17CC, 0x1500));
    auto other = plug(std::make_shared<FakeUsbDevice>(0x1234, 0x1500));
    Basalt::deliverDeviceChanges();
    ASSERT_EQ(arrivals.size(), 1u);
    EXPECT_EQ(factory.knownPaths().size(), 2u);

    other->unplug();
    maker->unplug();
    Basalt::deliverDeviceChanges();
    EXPECT_EQ(removals, arrivals);
    EXPECT_TRUE(factory.knownPaths().empty());

    factory.reset();
    plug(std::make_shared<FakeUsbDevice>(0x17CC, 0x1501));
    Basalt::deliverDeviceChanges();
    EXPECT_EQ(arrivals.size(), 1u);  // no longer watching
}

TEST_F(Factory, TheSamePathArrivingTwiceIsReportedTwice)
{
    ASSERT_TRUE(factory.scan(targetUsbFilter, true));
    plugStudio();
    Basalt::DeviceBroadcast again;
    again.type = Basalt::DeviceBroadcast::DeviceInterface;
    Basalt::Guid guid;
    ASSERT_TRUE(resolveInterfaceGuid(targetUsbFilter, guid));
    again.interfaceClass = guid;
    again.deviceName = u"USB#VID_17CC&PID_1300&REV_0020#SIM-1#{369B4BDE-0BBC-415C-858B-EED47C55057F}";
    Basalt::postDeviceChange(Basalt::DeviceArrival, again);
    Basalt::deliverDeviceChanges();
    ASSERT_EQ(arrivals.size(), 2u);
    EXPECT_EQ(arrivals[0], arrivals[1]);  // keys are lower case
    EXPECT_EQ(factory.knownPaths().size(), 1u);
}

TEST_F(Factory, DevicesThatCannotBeOpenedAreNotReported)
{
    ASSERT_TRUE(factory.scan(targetUsbFilter, true));
    Basalt::DeviceBroadcast ghost;
    ghost.type = Basalt::DeviceBroadcast::DeviceInterface;
    ASSERT_TRUE(resolveInterfaceGuid(targetUsbFilter, ghost.interfaceClass));
    ghost.deviceName = u"usb#vid_17cc&pid_1300&rev_0020#sim-9#{369b4bde-0bbc-415c-858b-eed47c55057f}";
    Basalt::postDeviceChange(Basalt::DeviceArrival, ghost);
    Basalt::postDeviceChange(Basalt::DeviceRemoveComplete, ghost);
    Basalt::deliverDeviceChanges();
    EXPECT_TRUE(arrivals.empty());
    EXPECT_TRUE(removals.empty());
    EXPECT_TRUE(factory.knownPaths().empty());
}

} // namespace
