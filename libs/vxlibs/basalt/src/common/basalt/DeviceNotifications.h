#pragma once

#include "basalt/DeviceNotificationListener.h"

#include <cstddef>
#include <functional>
#include <string>

namespace Basalt {

// Starts the notification machinery on the calling thread, which becomes the
// one that serves listeners. True at once when it already runs.
bool initDeviceNotifications();
void shutdownDeviceNotifications();
bool areDeviceNotificationsRunning();

// Registry of listeners: duplicates allowed, order of addition kept. Both
// calls may come from any thread, and from inside a listener call; they do
// nothing while the machinery is not running.
void addDeviceNotificationListener(DeviceNotificationListener* listener);
void removeDeviceNotificationListener(DeviceNotificationListener* listener);

// The name of the notification source: "VX-XXXX-DeviceNotificationWindow" with
// XXXX the application's four-character code, most significant byte first; a
// byte below 0x20 becomes '?'.
std::string deviceNotificationWindowName(std::uint32_t applicationCode);

// The name the running machinery took at its start (from the application
// code of that moment); "" while it is not running.
std::string deviceNotificationSourceName();

// Serves one device-change message on the serving thread: DeviceArrival and
// DeviceRemoveComplete reach the listeners in registry order, by broadcast
// type; any other event reaches none. A listener may add or remove listeners
// from inside a call.
void dispatchDeviceChange(std::uint32_t event, const DeviceBroadcast& broadcast);

// The event source (a USB hot-plug or device monitor thread) posts messages
// from any thread; each post calls the wake handler, which the event loop sets
// so that it runs deliverDeviceChanges() on the serving thread.
void postDeviceChange(std::uint32_t event, DeviceBroadcast broadcast);
void setDeviceChangeWakeHandler(std::function<void()> wake);

// Dispatches the posted messages in order, on the serving thread; returns how
// many. Called on another thread it dispatches nothing.
std::size_t deliverDeviceChanges();

} // namespace Basalt
