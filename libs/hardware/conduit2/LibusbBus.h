#pragma once

#include "conduit2/UsbBus.h"

#include <atomic>
#include <mutex>
#include <thread>

struct libusb_context;
struct libusb_device;

namespace Conduit2 {

// The real USB bus through libusb: one context per process, one thread that
// handles libusb's events (transfer completions and hot-plug), and hot-plug
// reports when the platform supports them. When libusb cannot start (no USB
// file system), the bus lists no devices.
class LibusbBus final : public UsbBus {
public:
    LibusbBus();
    ~LibusbBus() override;
    LibusbBus(const LibusbBus&) = delete;
    LibusbBus& operator=(const LibusbBus&) = delete;

    bool enumerate(std::vector<UsbBusDevice>& devices) override;
    bool find(const std::string& location, UsbBusDevice& device) override;
    std::uint32_t open(const std::string& location, std::unique_ptr<UsbPort>& port) override;
    void setHotplugHandler(HotplugHandler handler) override;

    // The bus's view of one libusb device, from its cached descriptors.
    static bool describe(libusb_device* device, UsbBusDevice& description);

private:
    void handleEvents();
    void report(bool arrived, libusb_device* device);
    static int hotplugCallback(libusb_context* context, libusb_device* device, int event, void* self);

    libusb_context* context_ = nullptr;
    std::atomic<bool> stopping_{false};
    std::thread eventThread_;
    int hotplugHandle_ = 0;
    bool hotplugRegistered_ = false;
    std::mutex handlerLock_;
    HotplugHandler handler_;

};

} // namespace Conduit2
