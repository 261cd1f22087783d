#include "basalt/Event.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace Basalt {
namespace {

// All events share one condition variable: events are few and set rarely
// (one per completed device request), and one variable lets a thread wait
// for any of several events without registering with each.
std::mutex hubMutex;
std::condition_variable hub;

} // namespace

void Event::set()
{
    {
        std::lock_guard guard(hubMutex);
        set_.store(true, std::memory_order_release);
    }
    hub.notify_all();
}

void Event::reset()
{
    set_.store(false, std::memory_order_release);
}

namespace DETAIL {

template <typename TimePoint>
int waitForEvents(const Event& first, const Event* second, TimePoint deadline)
{
    std::unique_lock lock(hubMutex);
    int result = -1;
    hub.wait_until(lock, deadline, [&] {
        result = first.isSet() ? 0 : (second && second->isSet()) ? 1 : -1;
        return result >= 0;
    });
    return result;
}

template int waitForEvents(const Event&, const Event*, std::chrono::steady_clock::time_point);

} // namespace DETAIL
} // namespace Basalt
