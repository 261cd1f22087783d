#pragma once

#include <chrono>

namespace Basalt {

// The one seam through which the device layer and the upgrade logic read
// monotonic time and sleep, so that tests can run in virtual time.
class Clock {
public:
    using Duration = std::chrono::steady_clock::duration;
    using TimePoint = std::chrono::steady_clock::time_point;

    virtual ~Clock() = default;
    virtual TimePoint now() = 0;
    virtual void sleepFor(Duration duration) = 0;
    // A sleep that Boost.Thread's interrupt() ends early by raising
    // boost::thread_interrupted in the sleeping thread.
    virtual void interruptibleSleepFor(Duration duration) = 0;
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
