#pragma once

#include "basalt/Clock.h"

#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <thread>
#include <utility>

namespace Basalt {

// Real monotonic time, real sleeps and waits. Scheduled actions run on one
// timer thread, started with the first of them and joined by the destructor
// (actions still waiting then are dropped).
class SystemClock final : public Clock {
public:
    SystemClock() = default;
    ~SystemClock() override;
    SystemClock(const SystemClock&) = delete;
    SystemClock& operator=(const SystemClock&) = delete;

    TimePoint now() override;
    void sleepFor(Duration duration) override;
    void interruptibleSleepFor(Duration duration) override;
    eWaitResult waitFor(const Event& first, const Event* second, Duration timeout) override;
    void schedule(Duration delay, std::function<void()> action) override;

private:
    void runTimer();

    std::mutex lock_;
    std::condition_variable changed_;
    std::map<std::pair<TimePoint, std::uint64_t>, std::function<void()>> actions_;
    std::uint64_t sequence_ = 0;
    bool stopping_ = false;
    std::thread timer_;
};

} // namespace Basalt
