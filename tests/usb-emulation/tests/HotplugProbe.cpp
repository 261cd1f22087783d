// Watches the Trovix Studio's interface through the real libusb hot-plug path
// while the device leaves the bus and comes back: it asks the device to
// detach (the device drops off and returns in update mode) and checks that
// both changes reach the device-change listeners, and the device factory
// built on them, on the main thread, the one that serves notifications.
// Exits 0 when they do, 1 otherwise; prints each change it saw.

#include <basalt/DeviceNotifications.h>
#include <conduit2/DFUDevice.h>
#include <conduit2/DeviceCatalogue.h>
#include <conduit2/USBDeviceFactory.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

std::string narrow(const std::u16string& text)
{
    return {text.begin(), text.end()};
}

// Wakes the main loop when a change has been posted from the hot-plug thread.
class Waker {
public:
    void wake()
    {
        std::lock_guard guard(lock_);
        woken_ = true;
        changed_.notify_one();
    }

    void waitUntil(std::chrono::steady_clock::time_point deadline)
    {
        std::unique_lock guard(lock_);
        changed_.wait_until(guard, deadline, [this] { return woken_; });
        woken_ = false;
    }

private:
    std::mutex lock_;
    std::condition_variable changed_;
    bool woken_ = false;
};

struct Change {
    bool removed;
    std::string path;
    bool onMainThread;
};

// The changes one observer saw, and whether each came on the main thread
// (the one that creates the log).
struct ChangeLog {
    void record(bool removed, const std::u16string& path)
    {
        changes.push_back({removed, narrow(path), std::this_thread::get_id() == mainThread});
    }

    std::thread::id mainThread = std::this_thread::get_id();
    std::vector<Change> changes;
};

class RecordingListener final : public Basalt::DeviceNotificationListener {
public:
    void onDeviceChange(bool) override {}
    void onVolumeChange(bool, char) override {}
    void onInterfaceChange(bool removed, const Basalt::DeviceBroadcast& broadcast) override
    {
        log.record(removed, broadcast.deviceName);
    }

    ChangeLog log;
};

bool seen(const ChangeLog& log, bool removed, const char* product)
{
    for (const Change& change : log.changes) {
        if (change.removed == removed && change.path.find(product) != std::string::npos) {
            return true;
        }
    }
    return false;
}

// Prints the log; true when it holds the device's departure in run-time mode
// and its return in update mode, all seen on the main thread.
bool report(const char* who, const ChangeLog& log)
{
    bool allOnMainThread = true;
    for (const Change& change : log.changes) {
        std::printf("%s: %s %s%s\n", who, change.removed ? "removal" : "arrival", change.path.c_str(),
                    change.onMainThread ? "" : " (NOT on the main thread)");
        allOnMainThread = allOnMainThread && change.onMainThread;
    }
    return allOnMainThread && seen(log, true, "pid_1300") && seen(log, false, "pid_1302");
}

bool detach(const Conduit2::USBDeviceOSHandle& handle)
{
    Conduit2::DFUDevice device;
    return device.openAndCheckDfu(handle) && device.detach();
}

} // namespace

int main()
{
    Waker waker;
    if (!Basalt::initDeviceNotifications()) {
        std::fprintf(stderr, "hotplug-probe: device notifications do not start\n");
        return 1;
    }
    Basalt::setDeviceChangeWakeHandler([&waker] { waker.wake(); });
    RecordingListener listener;
    Basalt::addDeviceNotificationListener(&listener);

    ChangeLog factoryLog;
    std::optional<Conduit2::USBDeviceOSHandle> first;
    Conduit2::USBDeviceFactory factory;
    factory.setCallbacks(
        [&](const Conduit2::USBDeviceOSHandle& handle, const Conduit2::USBDeviceFilter&) {
            factoryLog.record(false, handle.devicePath);
            first = first ? first : handle;
        },
        [&](const Conduit2::USBDeviceOSHandle& handle, const Conduit2::USBDeviceFilter&) {
            factoryLog.record(true, handle.devicePath);
        });
    if (!factory.scan(Conduit2::targetUsbFilter, true) || !first || !detach(*first)) {
        std::fprintf(stderr, "hotplug-probe: no Trovix Studio to detach\n");
        return 1;
    }

    const auto deadline = std::chrono::steady_clock::now() + 15s;
    while (!(seen(factoryLog, true, "pid_1300") && seen(factoryLog, false, "pid_1302"))
           && std::chrono::steady_clock::now() < deadline) {
        waker.waitUntil(deadline);
        Basalt::deliverDeviceChanges();
    }
    factory.reset();
    Basalt::removeDeviceNotificationListener(&listener);
    Basalt::shutdownDeviceNotifications();

    const bool listenerOk = report("listener", listener.log);
    const bool factoryOk = report("factory", factoryLog);
    return listenerOk && factoryOk ? 0 : 1;
}
