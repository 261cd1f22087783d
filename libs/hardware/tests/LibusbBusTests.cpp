#include <conduit2/GuidText.h>
#include <conduit2/LibusbBus.h>
#include <conduit2/UsbDriver.h>

#include <gtest/gtest.h>

namespace {

using namespace Conduit2;

// The machine's real bus: whatever is attached (usually nothing in a
// container) must list and open without harm.
TEST(LibusbBus, ListsTheRealBusThroughTheDriver)
{
    auto bus = std::make_shared<LibusbBus>();
    std::vector<UsbBusDevice> devices;
    EXPECT_TRUE(bus->enumerate(devices));
    UsbDriver::instance().useBus(bus);
    std::vector<std::u16string> paths;
    EXPECT_TRUE(UsbDriver::instance().enumerateInterfaces(UsbDeviceInterfaceGuid, paths));
    EXPECT_EQ(paths.size(), devices.size());
    for (const std::u16string& path : paths) {
        std::unique_ptr<DriverHandle> handle;
        UsbDriver::instance().open(path, handle);  // may be refused without permissions
    }
    std::unique_ptr<DriverHandle> handle;
    EXPECT_NE(UsbDriver::instance().open(u"usb#vid_17cc&pid_1300&rev_0021#99-9#{x}", handle), 0u);
    UsbDriver::instance().useBus(nullptr);
}

} // namespace
