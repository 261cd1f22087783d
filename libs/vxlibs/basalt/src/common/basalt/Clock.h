#pragma once

#include <chrono>
#include <functional>

namespace Basalt {

class Event;

// The one seam through which the device layer, the simulated devices and the
// upgrade logic read monotonic time, sleep, wait for events and run delayed
// actions, so that tests can run in virtual time.
class Clock {
public:
    using Duration = std::chrono::steady_clock::duration;
    using TimePoint = std::chrono::steady_clock::time_point;

    enum eWaitResult { FirstSet, SecondSet, TimedOut };

    virtual ~Clock() = default;
    virtual TimePoint now() = 0;
    virtual void sleepFor(Duration duration) = 0;
    // A sleep that Boost.Thread's interrupt() ends early by raising
    // boost::thread_interrupted in the sleeping thread.
    virtual void interruptibleSleepFor(Duration duration) = 0;
    // Waits until `first` (or `second`, when given) is set, at most `timeout`.
    virtual eWaitResult waitFor(const Event& first, const Event* second, Duration timeout) = 0;
    // Runs `action` once, `delay` from now, on a thread of the clock's choice.
    virtual void schedule(Duration delay, std::function<void()> action) = 0;
};

// The process-wide clock: the system clock unless a test installed another.
Clock& clock();

// Installs a clock for the lifetime of this object, then restores the previous
// one. Not for use while other threads read the clock.
class ScopedClock {
public:
    explicit ScopedClock(Clock& clock);
    ~ScopedClock();
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;

private:
    Clock* previous_;
};

} // namespace Basalt
