#pragma once

#include "conduit2/UsbPort.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace Conduit2 {

// One interface (alternate setting 0) of a device's active configuration.
struct UsbInterfaceInfo {
    std::uint8_t number = 0;
    std::uint8_t interfaceClass = 0;
    std::uint8_t subClass = 0;
    std::uint8_t protocol = 0;
    std::vector<std::uint8_t> extra;  // the class-specific descriptors that follow it
};

// An attached device as its bus enumerated it.
struct UsbBusDevice {
    std::string location;  // "<bus>-<port.port…>", stable per physical port
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t bcdDevice = 0;
    std::vector<UsbInterfaceInfo> interfaces;
    std::string node = {}; // the device file a program opens ("/dev/bus/usb/001/004"); empty on a bus without files
};

// A source of USB devices and of ports to them.
class UsbBus {
public:
    using HotplugHandler = std::function<void(bool arrived, const UsbBusDevice& device)>;

    virtual ~UsbBus() = default;

    // The devices attached now; false when the list cannot be built.
    virtual bool enumerate(std::vector<UsbBusDevice>& devices) = 0;

    // The device attached at `location` now; false when none is, or when the
    // bus cannot list its devices.
    virtual bool find(const std::string& location, UsbBusDevice& device) = 0;

    // Opens the device at `location`; 0 or an error code.
    virtual std::uint32_t open(const std::string& location, std::unique_ptr<UsbPort>& port) = 0;

    // Called from any thread when a device arrives or leaves; an empty
    // handler stops the reports.
    virtual void setHotplugHandler(HotplugHandler handler) = 0;
};

} // namespace Conduit2
