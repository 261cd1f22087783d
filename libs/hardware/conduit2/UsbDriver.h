#pragma once

#include "conduit2/DriverHandle.h"
#include "conduit2/UsbBus.h"

#include <basalt/DeviceNotificationListener.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace Conduit2 {

// The in-process stand-in for the maker's USB kernel driver, one per process.
// It publishes the attached devices of its bus as device interfaces, each
// named by a path
//   usb#vid_XXXX&pid_XXXX&rev_XXXX#<location>#{interface class guid}
// (lower case, stable per physical port), opens them, and reports arrivals
// and removals of interfaces to the device notifications.
class UsbDriver {
public:
    static UsbDriver& instance();

    // Serves the devices of `bus` from now on (the simulated bus, or a test's);
    // without a call the driver serves the real USB bus through libusb.
    void useBus(std::shared_ptr<UsbBus> bus);

    // The paths of the present devices that expose the interface class;
    // false when the bus cannot list its devices.
    bool enumerateInterfaces(const Basalt::Guid& interfaceClass, std::vector<std::u16string>& paths);

    // Opens a device by path, in any letter case; 0 or an error code (NotFound when no such
    // interface is present).
    std::uint32_t open(std::u16string_view path, std::unique_ptr<DriverHandle>& handle);

    // The device file of the device at `path` (its bus location on a bus
    // without files), for messages; empty when no device is there.
    std::string deviceNode(std::u16string_view path);

    // The interface classes a device exposes.
    static std::vector<Basalt::Guid> interfaceClassesOf(const UsbBusDevice& device);
    static std::u16string devicePath(const UsbBusDevice& device, const Basalt::Guid& interfaceClass);

private:
    UsbDriver();
    std::shared_ptr<UsbBus> bus();
    static bool findDevice(std::u16string_view path, UsbBus& bus, UsbBusDevice& device);

    std::mutex lock_;
    std::shared_ptr<UsbBus> bus_;
};

} // namespace Conduit2
