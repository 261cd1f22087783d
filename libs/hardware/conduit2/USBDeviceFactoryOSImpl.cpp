#include "conduit2/USBDeviceFactoryOSImpl.h"

#include "conduit2/AcceptedHandle.h"
#include "conduit2/IdentityReaders.h"
#include "conduit2/OsErrors.h"
#include "conduit2/UsbDriver.h"

#include <basalt/DeviceNotifications.h>

#include <vector>

namespace Conduit2 {
namespace {

std::u16string lowerCase(std::u16string_view path)
{
    std::u16string key(path);
    for (char16_t& c : key) {
        if (c >= u'A' && c <= u'Z') {
            c = static_cast<char16_t>(c - u'A' + u'a');
        }
    }
    return key;
}

} // namespace

USBDeviceFactory::OSImpl::OSImpl(Callback& onArrival, Callback& onRemoval)
    : onArrival_(onArrival), onRemoval_(onRemoval)
{
}

USBDeviceFactory::OSImpl::~OSImpl()
{
    reset();
}

bool USBDeviceFactory::OSImpl::scan(const USBDeviceFilter& filter, bool watch)
{
    Basalt::Guid guid;
    resolveInterfaceGuid(filter, guid);
    // Behind a magic word stand many products, so their ids decide; a GUID of
    // the maker's names one product, whose every device is taken as it is.
    // (Only GUIDs shared by several products would match ids, and the
    // catalogue holds none.)
    const bool matchIds = isMagicGuidWord(filter.interfaceGuid) && (filter.vendorId != 0 || filter.productId != 0);
    std::vector<std::u16string> paths;
    if (!UsbDriver::instance().enumerateInterfaces(guid, paths)) {
        return false;
    }
    guid_ = guid;
    matchIds_ = matchIds;
    filter_ = filter;
    if (watch && !watching_) {
        watching_ = true;
        Basalt::addDeviceNotificationListener(this);
    }
    for (const std::u16string& path : paths) {
        handleArrival(path);
    }
    return true;
}

void USBDeviceFactory::OSImpl::reset()
{
    knownPaths_.clear();
    deniedNodes_.clear();
    if (watching_) {
        watching_ = false;
        Basalt::removeDeviceNotificationListener(this);
    }
}

void USBDeviceFactory::OSImpl::handleArrival(std::u16string_view path)
{
    const std::u16string key = lowerCase(path);
    knownPaths_[key] = false;
    std::unique_ptr<DriverHandle> opened;
    if (!accepts(key, path, opened)) {
        return;
    }
    knownPaths_[key] = true;
    if (onArrival_) {
        const USBDeviceOSHandle device{key, opened ? std::make_shared<AcceptedHandle>(std::move(opened)) : nullptr};
        onArrival_(device, filter_);
        if (device.accepted) {
            device.accepted->take();  // closes the handle unless the callback took it
        }
    }
}

// With id matching, the identity must match the filter (a filter for product
// 0x1100 also takes 0x1101); without, any device that opens is the product,
// and `opened` keeps the handle.
bool USBDeviceFactory::OSImpl::accepts(const std::u16string& key, std::u16string_view path,
                                       std::unique_ptr<DriverHandle>& opened)
{
    if (matchIds_) {
        USBDeviceInfo info;
        if (!readIdentity(key, filter_, info, false)) {
            return false;
        }
        const bool productMatches = filter_.productId == 0 || filter_.productId == info.productId
                                 || (filter_.productId == 0x1100 && info.productId == 0x1101);
        return (filter_.vendorId == 0 || filter_.vendorId == info.vendorId) && productMatches;
    }
    const std::uint32_t status = UsbDriver::instance().open(path, opened);
    if (status == OsError::AccessDenied) {
        deniedNodes_[key] = UsbDriver::instance().deviceNode(path);
    } else {
        deniedNodes_.erase(key);
    }
    return status == OsError::Success;
}

std::vector<std::string> USBDeviceFactory::OSImpl::deniedNodes() const
{
    std::vector<std::string> nodes;
    for (const auto& [path, node] : deniedNodes_) {
        nodes.push_back(node);
    }
    return nodes;
}

void USBDeviceFactory::OSImpl::handleRemoval(std::u16string_view path)
{
    const std::u16string key = lowerCase(path);
    deniedNodes_.erase(key);
    const auto it = knownPaths_.find(key);
    if (it == knownPaths_.end()) {
        return;
    }
    const bool accepted = it->second;
    knownPaths_.erase(it);
    if (accepted && onRemoval_) {
        onRemoval_(USBDeviceOSHandle{key}, filter_);
    }
}

void USBDeviceFactory::OSImpl::onInterfaceChange(bool removed, const Basalt::DeviceBroadcast& broadcast)
{
    if (broadcast.interfaceClass != guid_) {
        return;
    }
    if (removed) {
        handleRemoval(broadcast.deviceName);
    } else {
        handleArrival(broadcast.deviceName);
    }
}

} // namespace Conduit2
