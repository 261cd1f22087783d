#include "basalt/SystemClock.h"

#include "basalt/Event.h"

#include <boost/thread/thread.hpp>

namespace Basalt {

SystemClock::~SystemClock()
{
    {
        std::lock_guard guard(lock_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (timer_.joinable()) {
        timer_.join();
    }
}

Clock::TimePoint SystemClock::now()
{
    return std::chrono::steady_clock::now();
}

void SystemClock::sleepFor(Duration duration)
{
    std::this_thread::sleep_for(duration);
}

void SystemClock::interruptibleSleepFor(Duration duration)
{
    boost::this_thread::sleep_for(
        boost::chrono::nanoseconds(std::chrono::nanoseconds(duration).count()));
}

Clock::eWaitResult SystemClock::waitFor(const Event& first, const Event* second, Duration timeout)
{
    switch (DETAIL::waitForEvents(first, second, now() + timeout)) {
    case 0: return FirstSet;
    case 1: return SecondSet;
    default: return TimedOut;
    }
}

void SystemClock::schedule(Duration delay, std::function<void()> action)
{
    {
        std::lock_guard guard(lock_);
        actions_.emplace(std::pair(now() + delay, sequence_++), std::move(action));
        if (!timer_.joinable()) {
            timer_ = std::thread([this] { runTimer(); });
        }
    }
    changed_.notify_all();
}

void SystemClock::runTimer()
{
    std::unique_lock lock(lock_);
    while (!stopping_) {
        if (actions_.empty()) {
            changed_.wait(lock);
            continue;
        }
        const auto next = actions_.begin();
        if (next->first.first > now()) {
            changed_.wait_until(lock, next->first.first);
            continue;
        }
        auto action = std::move(next->second);
        actions_.erase(next);
        lock.unlock();
        action();
        lock.lock();
    }
}

} // namespace Basalt
