#include "casement/EventTimerManagerSdlBridge.h"

#include "casement/EventTimerManager.h"

#include <algorithm>
#include <map>
#include <mutex>

namespace Casement {
namespace {

struct tRegistration {
    EventTimerManagerSdlBridge* bridge = nullptr;
    EventTimerManagerSdlBridge::tClock::duration period{};
    EventTimerManagerSdlBridge::tClock::time_point due;
};

// Timer id -> running bridge. Bridges may be started and stopped from any
// thread; the loop's wait reads the registry.
struct Registry {
    std::mutex lock;
    std::map<int, tRegistration> bridges;
    int lastId = 0;
};

Registry& registry()
{
    static Registry instance;
    return instance;
}

} // namespace

EventTimerManagerSdlBridge::EventTimerManagerSdlBridge(EventTimerManager& manager)
    : manager_(manager)
{
}

EventTimerManagerSdlBridge::~EventTimerManagerSdlBridge()
{
    stop();
}

void EventTimerManagerSdlBridge::start(int periodMs)
{
    if (timerId_ != 0) {
        return;
    }
    const auto period = std::chrono::milliseconds(std::max(periodMs, 1));
    const std::lock_guard guard(registry().lock);
    timerId_ = ++registry().lastId;
    registry().bridges[timerId_] = tRegistration{this, period, tClock::now() + period};
}

void EventTimerManagerSdlBridge::stop()
{
    if (timerId_ == 0) {
        return;
    }
    const std::lock_guard guard(registry().lock);
    registry().bridges.erase(timerId_);
    timerId_ = 0;
}

// Periods run on from when they were due, so ticks do not drift; a timer
// more than a period late starts afresh from now.
int EventTimerManagerSdlBridge::takeDue(tClock::time_point now)
{
    const std::lock_guard guard(registry().lock);
    for (auto& [id, registration] : registry().bridges) {
        if (registration.due <= now) {
            registration.due += registration.period;
            if (registration.due <= now) {
                registration.due = now + registration.period;
            }
            return id;
        }
    }
    return 0;
}

std::optional<EventTimerManagerSdlBridge::tClock::time_point> EventTimerManagerSdlBridge::nextDue()
{
    const std::lock_guard guard(registry().lock);
    std::optional<tClock::time_point> first;
    for (const auto& [id, registration] : registry().bridges) {
        if (!first || registration.due < *first) {
            first = registration.due;
        }
    }
    return first;
}

void EventTimerManagerSdlBridge::timerProc(int timerId)
{
    EventTimerManagerSdlBridge* bridge = nullptr;
    {
        const std::lock_guard guard(registry().lock);
        const auto found = registry().bridges.find(timerId);
        if (found == registry().bridges.end()) {
            return;
        }
        bridge = found->second.bridge;
    }
    bridge->manager_.tick();
}

} // namespace Casement
