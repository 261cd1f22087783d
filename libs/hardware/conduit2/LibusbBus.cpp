#include "conduit2/LibusbBus.h"

#include "conduit2/HardwareLog.h"
#include "conduit2/LibusbPort.h"
#include "conduit2/OsErrors.h"

#include <fmt/format.h>
#include <libusb.h>

namespace Conduit2 {

namespace {

// "<bus>-<port.port…>", as the kernel names the device.
std::string locationOf(libusb_device* device)
{
    std::uint8_t ports[8];
    const int depth = libusb_get_port_numbers(device, ports, sizeof ports);
    std::string location = fmt::format("{}-", libusb_get_bus_number(device));
    for (int i = 0; i < depth; ++i) {
        location += fmt::format("{}{}", i ? "." : "", ports[i]);
    }
    if (depth <= 0) {
        location += fmt::format("0.{}", libusb_get_device_address(device));
    }
    return location;
}

// The device of the list at `location`, or null.
libusb_device* deviceAt(libusb_device** list, ssize_t count, const std::string& location)
{
    for (ssize_t i = 0; i < count; ++i) {
        if (locationOf(list[i]) == location) {
            return list[i];
        }
    }
    return nullptr;
}

} // namespace

LibusbBus::LibusbBus()
{
    if (const int error = libusb_init(&context_); error != 0) {
        context_ = nullptr;
        if (shouldLog(2, "USBDriver")) {
            logMessage(2, "%s: libusb cannot start: %s\n", "USBDriver", libusb_strerror(error));
        }
        return;
    }
    if (libusb_has_capability(LIBUSB_CAP_HAS_HOTPLUG)) {
        hotplugRegistered_ =
            libusb_hotplug_register_callback(
                context_,
                static_cast<libusb_hotplug_event>(LIBUSB_HOTPLUG_EVENT_DEVICE_ARRIVED | LIBUSB_HOTPLUG_EVENT_DEVICE_LEFT),
                LIBUSB_HOTPLUG_NO_FLAGS, LIBUSB_HOTPLUG_MATCH_ANY, LIBUSB_HOTPLUG_MATCH_ANY,
                LIBUSB_HOTPLUG_MATCH_ANY,
                [](libusb_context* context, libusb_device* device, libusb_hotplug_event event, void* self) {
                    return hotplugCallback(context, device, event, self);
                },
                this, &hotplugHandle_)
            == LIBUSB_SUCCESS;
    }
    eventThread_ = std::thread([this] { handleEvents(); });
}

LibusbBus::~LibusbBus()
{
    if (!context_) {
        return;
    }
    stopping_ = true;
    if (hotplugRegistered_) {
        libusb_hotplug_deregister_callback(context_, hotplugHandle_);
    }
    libusb_interrupt_event_handler(context_);
    eventThread_.join();
    libusb_exit(context_);
}

int LibusbBus::hotplugCallback(libusb_context*, libusb_device* device, int event, void* self)
{
    static_cast<LibusbBus*>(self)->report(event == LIBUSB_HOTPLUG_EVENT_DEVICE_ARRIVED, device);
    return 0;
}

void LibusbBus::handleEvents()
{
    while (!stopping_) {
        timeval timeout{0, 200000};
        libusb_handle_events_timeout_completed(context_, &timeout, nullptr);
    }
}

void LibusbBus::report(bool arrived, libusb_device* device)
{
    UsbBusDevice description;
    std::lock_guard guard(handlerLock_);
    if (handler_ && describe(device, description)) {
        handler_(arrived, description);
    }
}

void LibusbBus::setHotplugHandler(HotplugHandler handler)
{
    std::lock_guard guard(handlerLock_);
    handler_ = std::move(handler);
}

bool LibusbBus::describe(libusb_device* device, UsbBusDevice& description)
{
    libusb_device_descriptor descriptor{};
    if (libusb_get_device_descriptor(device, &descriptor) != LIBUSB_SUCCESS) {
        return false;
    }
    description = {locationOf(device), descriptor.idVendor, descriptor.idProduct, descriptor.bcdDevice, {},
                   fmt::format("/dev/bus/usb/{:03}/{:03}", libusb_get_bus_number(device),
                               libusb_get_device_address(device))};
    libusb_config_descriptor* config = nullptr;
    if (libusb_get_active_config_descriptor(device, &config) != LIBUSB_SUCCESS) {
        return true;
    }
    for (int i = 0; i < config->bNumInterfaces; ++i) {
        const libusb_interface& interface = config->interface[i];
        if (interface.num_altsetting < 1) {
            continue;
        }
        const libusb_interface_descriptor& alt = interface.altsetting[0];
        description.interfaces.push_back({alt.bInterfaceNumber, alt.bInterfaceClass, alt.bInterfaceSubClass,
                                          alt.bInterfaceProtocol,
                                          std::vector<std::uint8_t>(alt.extra, alt.extra + alt.extra_length)});
    }
    libusb_free_config_descriptor(config);
    return true;
}

bool LibusbBus::enumerate(std::vector<UsbBusDevice>& devices)
{
    devices.clear();
    if (!context_) {
        return true;
    }
    libusb_device** list = nullptr;
    const ssize_t count = libusb_get_device_list(context_, &list);
    if (count < 0) {
        return false;
    }
    for (ssize_t i = 0; i < count; ++i) {
        UsbBusDevice description;
        if (describe(list[i], description)) {
            devices.push_back(std::move(description));
        }
    }
    libusb_free_device_list(list, 1);
    return true;
}

bool LibusbBus::find(const std::string& location, UsbBusDevice& device)
{
    if (!context_) {
        return false;
    }
    libusb_device** list = nullptr;
    const ssize_t count = libusb_get_device_list(context_, &list);
    if (count < 0) {
        return false;
    }
    libusb_device* found = deviceAt(list, count, location);
    const bool described = found && describe(found, device);
    libusb_free_device_list(list, 1);
    return described;
}

std::uint32_t LibusbBus::open(const std::string& location, std::unique_ptr<UsbPort>& port)
{
    if (!context_) {
        return OsError::NotFound;
    }
    libusb_device** list = nullptr;
    const ssize_t count = libusb_get_device_list(context_, &list);
    if (count < 0) {
        return osErrorFromLibusbError(static_cast<int>(count));
    }
    std::uint32_t status = OsError::NotFound;
    if (libusb_device* found = deviceAt(list, count, location)) {
        libusb_device_handle* handle = nullptr;
        status = osErrorFromLibusbError(libusb_open(found, &handle));
        if (status == OsError::Success) {
            port = std::make_unique<LibusbPort>(handle);
        }
    }
    libusb_free_device_list(list, 1);
    return status;
}

} // namespace Conduit2
