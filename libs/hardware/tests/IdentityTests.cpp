#include "DeviceLayerFixture.h"

#include <conduit2/DeviceCatalogue.h>
#include <conduit2/GuidText.h>
#include <conduit2/IdentityReaders.h>

namespace {

using namespace Conduit2;
using Conduit2::Testing::DeviceLayerTest;
using Conduit2::Testing::FakeUsbDevice;

TEST(ParseDevicePath, ReadsTheIdFields)
{
    USBDeviceInfo info;
    info.serialNumber = "kept";
    parseDevicePath(u"usb#vid_17cc&pid_1300&rev_0100#sim-1#{guid}", info);
    EXPECT_EQ(info.vendorId, 0x17CC);
    EXPECT_EQ(info.productId, 0x1300);
    EXPECT_EQ(info.bcdDevice, 0x0100);
    EXPECT_EQ(info.serialNumber, "kept");

    parseDevicePath(u"usb#vid_17cc&pid_1300#x", info);
    EXPECT_EQ(info.bcdDevice, 0);
    parseDevicePath(u"usb#vid_17c", info);
    EXPECT_EQ(info.vendorId, 0);
    parseDevicePath(u"#vid_17cc", info);  // the four digits end the text
    EXPECT_EQ(info.vendorId, 0x17CC);
    parseDevicePath(std::u16string(u"#vid_1\0cc&", 10), info);  // a zero ends the number
    EXPECT_EQ(info.vendorId, 1);
}

TEST(ResolveInterfaceGuid, MagicWordsAndGuidTexts)
{
    Basalt::Guid guid;
    USBDeviceFilter filter{GenericUSB, "usb-guid-magic", "", 0, 0};
    EXPECT_TRUE(resolveInterfaceGuid(filter, guid));
    EXPECT_EQ(formatGuid(guid), "{a5dcbf10-6530-11d2-901f-00c04fb951ed}");
    filter.interfaceGuid = "vxdfu-guid-magic";
    EXPECT_TRUE(resolveInterfaceGuid(filter, guid));
    EXPECT_EQ(formatGuid(guid), "{8dac2119-ba5a-46fd-9484-f4e0c1713f9f}");
    EXPECT_TRUE(resolveInterfaceGuid(targetUsbFilter, guid));
    EXPECT_EQ(formatGuid(guid), "{369b4bde-0bbc-415c-858b-eed47c55057f}");
    filter.interfaceGuid = "USB-GUID-MAGIC";  // the words are compared exactly
    EXPECT_FALSE(resolveInterfaceGuid(filter, guid));
}

class Identity : public DeviceLayerTest {
protected:
    std::u16string usbPath()
    {
        std::vector<std::u16string> paths;
        EXPECT_TRUE(UsbDriver::instance().enumerateInterfaces(UsbDeviceInterfaceGuid, paths));
        return paths.empty() ? std::u16string() : paths.front();
    }
};

TEST_F(Identity, DescriptorRequestGivesIdsAndStringsInOrder)
{
    auto device = plug(std::make_shared<FakeUsbDevice>(0x1234, 0x5678, 0x0203, "SN-9"));
    USBDeviceInfo info;
    ASSERT_TRUE(readIdentity(usbPath(), {GenericUSB, "usb-guid-magic", "", 0, 0}, info, true));
    EXPECT_EQ(info, (USBDeviceInfo{0x1234, 0x5678, 0x0203, "Maker", "Fake Device", "SN-9"}));
    // product (index 2), manufacturer (1), serial number (3)
    std::vector<int> stringIndexes;
    for (const auto& setup : device->received()) {
        if (setup.bRequest == 6 && (setup.wValue >> 8) == 3) {
            stringIndexes.push_back(setup.wValue & 0xFF);
            EXPECT_EQ(setup.wIndex, 0);
            EXPECT_EQ(setup.wLength, 258);
        }
    }
    EXPECT_EQ(stringIndexes, (std::vector<int>{2, 1, 3}));
}

TEST_F(Identity, GenericDeviceThatDoesNotAnswerFallsBackToThePath)
{
    auto device = plug(std::make_shared<FakeUsbDevice>(0x1234, 0x5678, 0x0203));
    device->stopAnswering();
    const USBDeviceFilter generic{GenericUSB, "usb-guid-magic", "", 0, 0};
    USBDeviceInfo info;
    EXPECT_TRUE(readIdentity(usbPath(), generic, info, false));
    EXPECT_EQ(info.vendorId, 0x1234);
    EXPECT_EQ(info.productId, 0x5678);
    EXPECT_EQ(info.bcdDevice, 0x0203);
    EXPECT_FALSE(readIdentity(usbPath(), generic, info, true));
    EXPECT_FALSE(readIdentity(usbPath(), {VendorDriver, "usb-guid-magic", "", 0, 0}, info, false));
}

TEST_F(Identity, HostileStringDescriptorsAreReadSafely)
{
    auto device = plug(std::make_shared<FakeUsbDevice>(0x1234, 0x5678));
    device->replaceDescriptor(3, 2, {200, 3, 'A', 0, 0x00, 0xD8});           // claims more, lone surrogate
    device->replaceDescriptor(3, 1, {3});                                    // fewer than 4 bytes
    device->replaceDescriptor(3, 3, std::vector<std::uint8_t>(300, 0x41));   // longer than asked for
    USBDeviceInfo info{0, 0, 0, "old", "old", "old"};
    ASSERT_TRUE(readIdentity(usbPath(), {VendorDriver, "usb-guid-magic", "", 0, 0}, info, true));
    EXPECT_EQ(info.product, "A");
    EXPECT_EQ(info.manufacturer, "");
    EXPECT_EQ(info.serialNumber.size(), 3u * 31);  // bLength 0x41: units 1 to 31, each U+4141
}

TEST_F(Identity, ShortDeviceDescriptorFailsTheRead)
{
    auto device = plug(std::make_shared<FakeUsbDevice>(0x1234, 0x5678));
    device->replaceDescriptor(1, 0, {18, 1, 0, 2, 0, 0, 0, 64, 0x34, 0x12});
    USBDeviceInfo info;
    EXPECT_FALSE(readIdentity(usbPath(), {VendorDriver, "usb-guid-magic", "", 0, 0}, info, false));
    EXPECT_EQ(info.vendorId, 0);
}

TEST_F(Identity, HidDevicesAnswerThroughTheHidInterface)
{
    auto device = std::make_shared<FakeUsbDevice>(0x17CC, 0x1300, 0x0042, "H1");
    device->withInterface({0x03, 0, 0, {}});
    plug(device);
    std::vector<std::u16string> paths;
    ASSERT_TRUE(UsbDriver::instance().enumerateInterfaces(HidInterfaceGuid, paths));
    ASSERT_EQ(paths.size(), 1u);
    USBDeviceInfo info;
    ASSERT_TRUE(readIdentity(paths[0], targetHidFilter, info, true));
    EXPECT_EQ(info, (USBDeviceInfo{0x17CC, 0x1300, 0x0042, "Maker", "Fake Device", "H1"}));
}

} // namespace
