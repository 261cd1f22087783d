#pragma once

#include "conduit2/DriverHandle.h"
#include "conduit2/USBDeviceFactory.h"

#include <basalt/DeviceNotificationListener.h>

#include <map>
#include <memory>
#include <string>

namespace Conduit2 {

// The platform half of USBDeviceFactory: enumeration through the driver, the
// known paths with whether each was accepted, and the notification listener.
class USBDeviceFactory::OSImpl final : public Basalt::DeviceNotificationListener {
public:
    OSImpl(Callback& onArrival, Callback& onRemoval);
    ~OSImpl();
    OSImpl(const OSImpl&) = delete;
    OSImpl& operator=(const OSImpl&) = delete;

    bool scan(const USBDeviceFilter& filter, bool watch);
    void reset();

    void handleArrival(std::u16string_view path);
    void handleRemoval(std::u16string_view path);

    const std::map<std::u16string, bool>& knownPaths() const { return knownPaths_; }
    bool matchIds() const { return matchIds_; }
    std::vector<std::string> deniedNodes() const;

    void onDeviceChange(bool) override {}
    void onInterfaceChange(bool removed, const Basalt::DeviceBroadcast& broadcast) override;
    void onVolumeChange(bool, char) override {}

private:
    bool accepts(const std::u16string& key, std::u16string_view path, std::unique_ptr<DriverHandle>& opened);

    Callback& onArrival_;
    Callback& onRemoval_;
    USBDeviceFilter filter_;
    Basalt::Guid guid_;
    bool matchIds_ = false;
    bool watching_ = false;
    std::map<std::u16string, bool> knownPaths_;
    std::map<std::u16string, std::string> deniedNodes_;  // by path: the device file this user may not open
};

} // namespace Conduit2
