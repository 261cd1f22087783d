#pragma once

#include "basalt/Clock.h"

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <utility>

namespace Basalt {

// Virtual time for tests. Sleeps and waits return at once and move the time
// forward; actions scheduled for a virtual moment run, in time order, on the
// thread whose sleep or wait passes that moment (a device that re-enumerates
// 300 ms after a detach does so inside the host's 5000 ms wait). A wait ends
// at the virtual moment its event is set. Time never goes backwards.
class VirtualClock final : public Clock {
public:
    TimePoint now() override;
    void sleepFor(Duration duration) override;
    // As sleepFor, but checks for a Boost.Thread interruption before the
    // sleep and after each action it runs.
    void interruptibleSleepFor(Duration duration) override;
    eWaitResult waitFor(const Event& first, const Event* second, Duration timeout) override;
    void schedule(Duration delay, std::function<void()> action) override;

    // The same as sleepFor: lets virtual time pass.
    void advance(Duration duration) { sleepFor(duration); }

private:
    // Runs the actions due up to `target`, in time order, until `done` holds
    // or the target is reached.
    void advanceTo(TimePoint target, bool interruptible, const std::function<bool()>& done);

    std::mutex lock_;
    TimePoint now_{};
    std::uint64_t sequence_ = 0;
    std::map<std::pair<TimePoint, std::uint64_t>, std::function<void()>> actions_;
};

} // namespace Basalt
