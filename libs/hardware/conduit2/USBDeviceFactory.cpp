#include "conduit2/USBDeviceFactory.h"

#include "conduit2/USBDeviceFactoryOSImpl.h"

namespace Conduit2 {

USBDeviceFactory::USBDeviceFactory() : osImpl_(std::make_unique<OSImpl>(onArrival_, onRemoval_))
{
}

USBDeviceFactory::~USBDeviceFactory() = default;

void USBDeviceFactory::setCallbacks(Callback onArrival, Callback onRemoval)
{
    onArrival_ = std::move(onArrival);
    onRemoval_ = std::move(onRemoval);
}

bool USBDeviceFactory::scan(const USBDeviceFilter& filter, bool watch)
{
    lastScanOk_ = osImpl_->scan(filter, watch);
    return lastScanOk_;
}

const std::map<std::u16string, bool>& USBDeviceFactory::knownPaths() const
{
    return osImpl_->knownPaths();
}

bool USBDeviceFactory::matchIds() const
{
    return osImpl_->matchIds();
}

std::vector<std::string> USBDeviceFactory::deniedNodes() const
{
    return osImpl_->deniedNodes();
}

void USBDeviceFactory::reset()
{
    osImpl_->reset();
    lastScanOk_ = false;
}

} // namespace Conduit2
