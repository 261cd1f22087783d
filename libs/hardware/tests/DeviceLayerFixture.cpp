#include "DeviceLayerFixture.h"

#include <basalt/DeviceNotifications.h>

namespace Conduit2::Testing {

void DeviceLayerTest::SetUp()
{
    scopedClock_ = std::make_unique<Basalt::ScopedClock>(clock);
    UsbDriver::instance().useBus(bus);
    ASSERT_TRUE(Basalt::initDeviceNotifications());
}

void DeviceLayerTest::TearDown()
{
    Basalt::shutdownDeviceNotifications();
    UsbDriver::instance().useBus(nullptr);
    scopedClock_.reset();
}

std::shared_ptr<FakeUsbDevice> DeviceLayerTest::plug(std::shared_ptr<FakeUsbDevice> device)
{
    bus->attach(device);
    return device;
}

std::shared_ptr<FakeUsbDevice> DeviceLayerTest::plugStudio(std::string serial, std::uint16_t productId)
{
    auto device = std::make_shared<FakeUsbDevice>(0x17CC, productId, 0x0020, std::move(serial));
    device->withInterface({}).withDfu(productId == 0x1302 ? 2 : 1, 0x0D, 1000, 4096);
    return plug(device);
}

} // namespace Conduit2::Testing
