#include "basalt/VirtualClock.h"

#include "basalt/Event.h"

#include <boost/thread/thread.hpp>

namespace Basalt {

Clock::TimePoint VirtualClock::now()
{
    std::lock_guard guard(lock_);
    return now_;
}

void VirtualClock::sleepFor(Duration duration)
{
    advanceTo(now() + duration, false, nullptr);
}

void VirtualClock::interruptibleSleepFor(Duration duration)
{
    advanceTo(now() + duration, true, nullptr);
}

Clock::eWaitResult VirtualClock::waitFor(const Event& first, const Event* second, Duration timeout)
{
    const auto result = [&] {
        return first.isSet() ? FirstSet : (second && second->isSet()) ? SecondSet : TimedOut;
    };
    advanceTo(now() + timeout, false, [&] { return result() != TimedOut; });
    return result();
}

void VirtualClock::schedule(Duration delay, std::function<void()> action)
{
    std::lock_guard guard(lock_);
    actions_.emplace(std::pair(now_ + delay, sequence_++), std::move(action));
}

void VirtualClock::advanceTo(TimePoint target, bool interruptible, const std::function<bool()>& done)
{
    for (;;) {
        if (interruptible) {
            boost::this_thread::interruption_point();
        }
        if (done && done()) {
            return;
        }
        std::function<void()> action;
        {
            std::lock_guard guard(lock_);
            const auto next = actions_.begin();
            if (next == actions_.end() || next->first.first > target) {
                now_ = std::max(now_, target);
                return;
            }
            now_ = std::max(now_, next->first.first);
            action = std::move(next->second);
            actions_.erase(next);
        }
        action();
    }
}

} // namespace Basalt
