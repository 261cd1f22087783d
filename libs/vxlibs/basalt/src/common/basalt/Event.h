#pragma once

#include <atomic>

namespace Basalt {

// A manual-reset event: once set it stays set until reset. Threads wait for
// events through the clock (Clock::waitFor), so that waits run in virtual
// time under test.
class Event {
public:
    Event() = default;
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    void set();
    void reset();
    bool isSet() const { return set_.load(std::memory_order_acquire); }

private:
    std::atomic<bool> set_{false};
};

namespace DETAIL {

// Blocks in real time until one of the events is set or the deadline passes.
// Returns 0 or 1 for the event found set (the first wins a tie), -1 at the
// deadline.
template <typename TimePoint>
int waitForEvents(const Event& first, const Event* second, TimePoint deadline);

} // namespace DETAIL
} // namespace Basalt
