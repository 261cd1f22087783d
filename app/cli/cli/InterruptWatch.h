#pragma once

#include <chrono>

#include <signal.h>

namespace Cli {

// Catches SIGINT (Ctrl-C) while it exists, so that the program decides what
// an interruption means; the previous handling comes back when it is
// destroyed. The handler only counts; the program asks for the count. One
// watch at a time.
class InterruptWatch {
public:
    InterruptWatch();
    ~InterruptWatch();
    InterruptWatch(const InterruptWatch&) = delete;
    InterruptWatch& operator=(const InterruptWatch&) = delete;

    // The interruptions since the last call.
    int takeInterrupts();

private:
    struct sigaction previous_ {};
};

// Decides when a repeated Ctrl-C means "stop": a press that follows the
// previous warned press within the window confirms; any other press warns
// and opens a new window.
class ConfirmByRepeat {
public:
    using Clock = std::chrono::steady_clock;

    explicit ConfirmByRepeat(Clock::duration window) : window_(window) {}

    // True when this press confirms.
    bool press(Clock::time_point now);

private:
    Clock::duration window_;
    bool warned_ = false;
    Clock::time_point warnedAt_{};
};

} // namespace Cli
