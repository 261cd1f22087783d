#include "conduit2/UsbDriver.h"

#include "conduit2/DeviceCatalogue.h"
#include "conduit2/GuidText.h"
#include "conduit2/HardwareLog.h"
#include "conduit2/HardwareLogSettings.h"
#include "conduit2/LibusbBus.h"
#include "conduit2/OsErrors.h"

#include <basalt/DeviceNotifications.h>

#include <algorithm>
#include <utility>

#include <fmt/format.h>

namespace Conduit2 {
namespace {

constexpr std::uint16_t MakerVendorId = 0x17CC;

void postInterfaceChanges(bool arrived, const UsbBusDevice& device)
{
    for (const Basalt::Guid& interfaceClass : UsbDriver::interfaceClassesOf(device)) {
        Basalt::DeviceBroadcast broadcast;
        broadcast.type = Basalt::DeviceBroadcast::DeviceInterface;
        broadcast.interfaceClass = interfaceClass;
        broadcast.deviceName = UsbDriver::devicePath(device, interfaceClass);
        Basalt::postDeviceChange(arrived ? Basalt::DeviceArrival : Basalt::DeviceRemoveComplete,
                                 std::move(broadcast));
    }
}

// The location and the interface class that a path names, as the driver
// writes it: "usb#<ids>#<location>#<interface class GUID>".
struct tPathFields {
    std::string location;
    Basalt::Guid interfaceClass;
};

std::optional<tPathFields> pathFields(std::u16string_view path)
{
    std::vector<std::string> parts(1);
    for (char16_t c : path) {
        if (c > 0x7F) {
            return std::nullopt;
        }
        if (c == u'#') {
            parts.emplace_back();
        } else {
            parts.back().push_back(static_cast<char>(c));
        }
    }
    if (parts.size() != 4 || parts[0] != "usb") {
        return std::nullopt;
    }
    const auto guid = parseGuid(std::u16string(parts[3].begin(), parts[3].end()));
    if (!guid) {
        return std::nullopt;
    }
    return tPathFields{parts[2], *guid};
}

bool exposes(const UsbBusDevice& device, const Basalt::Guid& interfaceClass)
{
    const auto classes = UsbDriver::interfaceClassesOf(device);
    return std::ranges::find(classes, interfaceClass) != classes.end();
}

// Whether the lower-case path is the device's path for the interface class
// that the path names.
bool isPathOf(const UsbBusDevice& device, const Basalt::Guid& interfaceClass, std::u16string_view path)
{
    return exposes(device, interfaceClass) && UsbDriver::devicePath(device, interfaceClass) == path;
}

// A GUID that a filter of the catalogue names, with the product row and the
// vendor whose devices it serves.
struct tNamedInterface {
    std::uint16_t runTimeProductId = 0;
    std::uint16_t vendorId = 0;
    Basalt::Guid guid;
};

// The GUIDs of the catalogue's filters in table order, parsed once (the
// catalogue is constant). Never destroyed, like the catalogue.
const std::vector<tNamedInterface>& namedInterfaces()
{
    static const auto* const named = [] {
        auto* list = new std::vector<tNamedInterface>;
        for (const ProductEntry& row : deviceCatalogue()) {
            if (row.productId == 0) {
                continue;
            }
            for (const USBDeviceFilter* filter : row.interfaces) {
                const auto guid = parseGuid(std::u16string(filter->interfaceGuid.begin(), filter->interfaceGuid.end()));
                if (guid) {
                    list->push_back({row.productId, filter->vendorId, *guid});
                }
            }
        }
        return list;
    }();
    return *named;
}

} // namespace

// Never destroyed: an update worker the program left running at exit, and
// the bus's event thread, may still use it while static objects go.
UsbDriver& UsbDriver::instance()
{
    static UsbDriver* const driver = new UsbDriver;
    return *driver;
}

UsbDriver::UsbDriver()
{
    configureHardwareLogFromEnvironment();
}

void UsbDriver::useBus(std::shared_ptr<UsbBus> bus)
{
    std::shared_ptr<UsbBus> previous;
    {
        std::lock_guard guard(lock_);
        previous = std::exchange(bus_, bus);
    }
    if (previous) {
        previous->setHotplugHandler(nullptr);
    }
    if (bus) {
        bus->setHotplugHandler(postInterfaceChanges);
    }
}

std::shared_ptr<UsbBus> UsbDriver::bus()
{
    std::lock_guard guard(lock_);
    if (!bus_) {
        bus_ = std::make_shared<LibusbBus>();
        bus_->setHotplugHandler(postInterfaceChanges);
    }
    return bus_;
}

std::vector<Basalt::Guid> UsbDriver::interfaceClassesOf(const UsbBusDevice& device)
{
    std::vector<Basalt::Guid> classes{UsbDeviceInterfaceGuid};
    if (std::ranges::any_of(device.interfaces,
                            [](const UsbInterfaceInfo& i) { return i.interfaceClass == HidInterfaceClass; })) {
        classes.push_back(HidInterfaceGuid);
    }
    if (device.vendorId == MakerVendorId && findDfuInterface(device)) {
        classes.push_back(VxDfuInterfaceGuid);
    }
    // A filter that names its GUID serves its vendor's devices whose product
    // id is its row's run-time id with the low four bits free (both modes of
    // a product).
    for (const tNamedInterface& named : namedInterfaces()) {
        if (named.runTimeProductId == (device.productId & 0xFFF0) && named.vendorId == device.vendorId
            && std::ranges::find(classes, named.guid) == classes.end()) {
            classes.push_back(named.guid);
        }
    }
    return classes;
}

std::u16string UsbDriver::devicePath(const UsbBusDevice& device, const Basalt::Guid& interfaceClass)
{
    const std::string text = fmt::format("usb#vid_{:04x}&pid_{:04x}&rev_{:04x}#{}#{}", device.vendorId,
                                         device.productId, device.bcdDevice, device.location,
                                         formatGuid(interfaceClass));
    std::u16string path;
    for (char c : text) {
        path.push_back(static_cast<char16_t>(std::tolower(static_cast<unsigned char>(c))));
    }
    return path;
}

bool UsbDriver::enumerateInterfaces(const Basalt::Guid& interfaceClass, std::vector<std::u16string>& paths)
{
    std::vector<UsbBusDevice> devices;
    if (!bus()->enumerate(devices)) {
        return false;
    }
    paths.clear();
    for (const UsbBusDevice& device : devices) {
        if (exposes(device, interfaceClass)) {
            paths.push_back(devicePath(device, interfaceClass));
        }
    }
    return true;
}

bool UsbDriver::findDevice(std::u16string_view path, UsbBus& bus, UsbBusDevice& device)
{
    std::u16string wanted(path);
    for (char16_t& c : wanted) {
        c = c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
    }
    const auto fields = pathFields(wanted);
    return fields && bus.find(fields->location, device) && isPathOf(device, fields->interfaceClass, wanted);
}

std::uint32_t UsbDriver::open(std::u16string_view path, std::unique_ptr<DriverHandle>& handle)
{
    handle.reset();
    const auto bus = this->bus();
    UsbBusDevice device;
    if (!findDevice(path, *bus, device)) {
        return OsError::NotFound;
    }
    std::unique_ptr<UsbPort> port;
    if (const std::uint32_t status = bus->open(device.location, port); status != OsError::Success) {
        if (shouldLog(2, "USBDriver")) {
            logMessage(2, "%s: cannot open the device at %s: %s (error %u)\n", "USBDriver",
                       device.location.c_str(),
                       status == OsError::AccessDenied ? "access denied (is the udev rule installed?)"
                                                       : "the bus refused it",
                       status);
        }
        return status;
    }
    handle = std::make_unique<DriverHandle>(std::move(device), std::move(port));
    return OsError::Success;
}

std::string UsbDriver::deviceNode(std::u16string_view path)
{
    UsbBusDevice device;
    if (!findDevice(path, *bus(), device)) {
        return {};
    }
    return device.node.empty() ? device.location : device.node;
}

} // namespace Conduit2
