#pragma once

#include "conduit2/USBDeviceFilter.h"
#include "conduit2/USBDeviceInfo.h"

#include <functional>
#include <map>
#include <string>
#include <memory>
#include <vector>

namespace Conduit2 {

// Finds the attached devices that expose a filter's interface, accepts those
// that match it, and reports each to the arrival callback; on request it keeps
// watching and reports later arrivals and removals of that interface.
class USBDeviceFactory {
public:
    using Callback = std::function<void(const USBDeviceOSHandle&, const USBDeviceFilter&)>;

    USBDeviceFactory();
    ~USBDeviceFactory();
    USBDeviceFactory(const USBDeviceFactory&) = delete;
    USBDeviceFactory& operator=(const USBDeviceFactory&) = delete;

    // Either callback may be empty.
    void setCallbacks(Callback onArrival, Callback onRemoval);

    // Reports the present devices of the filter's interface synchronously;
    // with `watch`, keeps reporting arrivals and removals on the thread that
    // serves device notifications. False only when the list of present
    // devices cannot be built.
    bool scan(const USBDeviceFilter& filter, bool watch);

    // Forgets the known devices and stops watching.
    void reset();

    bool lastScanOk() const { return lastScanOk_; }
    // The lower-case paths seen, each with whether it was accepted.
    const std::map<std::u16string, bool>& knownPaths() const;
    // Whether the last scan matched the devices' ids against the filter.
    bool matchIds() const;
    // The device files of the devices of the filter's interface that were
    // found but could not be opened because this user may not open them
    // (no udev rule gives access), until reset.
    std::vector<std::string> deniedNodes() const;

private:
    class OSImpl;
    std::unique_ptr<OSImpl> osImpl_;
    bool lastScanOk_ = false;
    Callback onArrival_;
    Callback onRemoval_;
};

} // namespace Conduit2
