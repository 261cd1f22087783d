#include "basalt/DeviceNotifications.h"

#include "basalt/init_basalt.h"

#include <algorithm>
#include <deque>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace Basalt {
namespace {

// The registry and its recursive lock: a listener may add or remove listeners
// while the dispatch holds the lock.
struct Registry {
    std::recursive_mutex lock;
    bool running = false;
    std::vector<DeviceNotificationListener*> listeners;
};

// The platform half: posted messages waiting for the serving thread.
struct OSImpl {
    std::mutex lock;
    std::thread::id servingThread;
    std::string sourceName;
    std::deque<std::pair<std::uint32_t, DeviceBroadcast>> pending;
    std::function<void()> wake;
};

// Both never destroyed: an event source thread may still post at exit.
Registry& registry()
{
    static Registry* const instance = new Registry;
    return *instance;
}

OSImpl& osImpl()
{
    static OSImpl* const instance = new OSImpl;
    return *instance;
}

template <typename Call>
void callEach(Call call)
{
    auto& listeners = registry().listeners;
    for (std::size_t i = 0; i < listeners.size(); ++i) {
        call(*listeners[i]);
    }
}

// Calls onDeviceChange and onInterfaceChange on each listener; a listener that
// removes itself (or is removed) in between is not called again, and the one
// that moved into its place is served next.
void dispatchInterfaceChange(bool removed, const DeviceBroadcast& broadcast)
{
    auto& listeners = registry().listeners;
    std::size_t index = 0;
    while (index < listeners.size()) {
        DeviceNotificationListener* listener = listeners[index];
        listener->onDeviceChange(removed);
        if (listeners.size() < index + 1) {
            return;
        }
        if (listeners[index] != listener) {
            continue;
        }
        listener->onInterfaceChange(removed, broadcast);
        if (listeners.size() < index + 1) {
            return;
        }
        if (listeners[index] == listener) {
            ++index;
        }
    }
}

} // namespace

bool initDeviceNotifications()
{
    std::lock_guard guard(registry().lock);
    if (registry().running) {
        return true;
    }
    {
        std::lock_guard osGuard(osImpl().lock);
        osImpl().servingThread = std::this_thread::get_id();
        osImpl().sourceName = deviceNotificationWindowName(applicationCode());
        osImpl().pending.clear();
    }
    registry().running = true;
    return true;
}

void shutdownDeviceNotifications()
{
    std::lock_guard guard(registry().lock);
    if (!registry().running) {
        return;
    }
    registry().running = false;
    registry().listeners.clear();
    std::lock_guard osGuard(osImpl().lock);
    osImpl().pending.clear();
    osImpl().servingThread = {};
    osImpl().sourceName.clear();
}

std::string deviceNotificationSourceName()
{
    std::lock_guard guard(osImpl().lock);
    return osImpl().sourceName;
}

bool areDeviceNotificationsRunning()
{
    std::lock_guard guard(registry().lock);
    return registry().running;
}

void addDeviceNotificationListener(DeviceNotificationListener* listener)
{
    std::lock_guard guard(registry().lock);
    if (registry().running) {
        registry().listeners.push_back(listener);
    }
}

void removeDeviceNotificationListener(DeviceNotificationListener* listener)
{
    std::lock_guard guard(registry().lock);
    auto& listeners = registry().listeners;
    if (!registry().running) {
        return;
    }
    if (const auto it = std::find(listeners.begin(), listeners.end(), listener);
        it != listeners.end()) {
        listeners.erase(it);
    }
}

std::string deviceNotificationWindowName(std::uint32_t code)
{
    std::string name = "VX-XXXX-DeviceNotificationWindow";
    for (int i = 0; i < 4; ++i) {
        const auto byte = static_cast<char>((code >> (24 - 8 * i)) & 0xFFu);
        name[3 + static_cast<std::size_t>(i)] = static_cast<unsigned char>(byte) < 0x20 ? '?' : byte;
    }
    return name;
}

void dispatchDeviceChange(std::uint32_t event, const DeviceBroadcast& broadcast)
{
    if (event != DeviceArrival && event != DeviceRemoveComplete) {
        return;
    }
    const bool removed = event == DeviceRemoveComplete;
    std::lock_guard guard(registry().lock);
    switch (broadcast.type) {
    case DeviceBroadcast::Volume:
        for (int bit = 0; bit < 32; ++bit) {
            if (broadcast.unitMask & (1u << bit)) {
                const auto letter = static_cast<char>('A' + bit);
                callEach([&](DeviceNotificationListener& l) { l.onVolumeChange(removed, letter); });
            }
        }
        break;
    case DeviceBroadcast::DeviceInterface:
        dispatchInterfaceChange(removed, broadcast);
        break;
    default:
        callEach([&](DeviceNotificationListener& l) { l.onDeviceChange(removed); });
        break;
    }
}

void postDeviceChange(std::uint32_t event, DeviceBroadcast broadcast)
{
    std::function<void()> wake;
    {
        std::lock_guard guard(osImpl().lock);
        if (osImpl().servingThread == std::thread::id{}) {
            return;
        }
        osImpl().pending.emplace_back(event, std::move(broadcast));
        wake = osImpl().wake;
    }
    if (wake) {
        wake();
    }
}

void setDeviceChangeWakeHandler(std::function<void()> wake)
{
    std::lock_guard guard(osImpl().lock);
    osImpl().wake = std::move(wake);
}

std::size_t deliverDeviceChanges()
{
    std::size_t delivered = 0;
    for (;;) {
        std::pair<std::uint32_t, DeviceBroadcast> message;
        {
            std::lock_guard guard(osImpl().lock);
            if (osImpl().servingThread != std::this_thread::get_id() || osImpl().pending.empty()) {
                return delivered;
            }
            message = std::move(osImpl().pending.front());
            osImpl().pending.pop_front();
        }
        dispatchDeviceChange(message.first, message.second);
        ++delivered;
    }
}

} // namespace Basalt
