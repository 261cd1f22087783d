#pragma once

#include <array>

#include <signal.h>

namespace Basalt {

// Catches the signals that end a program from outside while it exists:
// SIGINT (Ctrl-C), SIGTERM, SIGHUP, and a SIGPIPE that another process sends,
// so that the program decides what they mean; the previous handling comes
// back when it is destroyed. A SIGPIPE the program raises itself by writing
// into a closed pipe is not counted: that write fails, and the output reports
// its error. The handler only counts and makes the wake descriptor readable;
// the program asks for the count. One watch at a time.
class InterruptWatch {
public:
    InterruptWatch();
    ~InterruptWatch();
    InterruptWatch(const InterruptWatch&) = delete;
    InterruptWatch& operator=(const InterruptWatch&) = delete;

    // The interruptions since the last call.
    int takeInterrupts();
    // The signal of the last interruption counted.
    int lastSignal() const;
    // Readable after an interruption, for a thread that waits on it with
    // poll(); reading it empty is the waiter's part. -1 when no pipe could
    // be made (the count still works).
    int wakeDescriptor() const { return wakeEnds_[0]; }

    static constexpr std::array<int, 4> Signals{SIGINT, SIGTERM, SIGHUP, SIGPIPE};

private:
    std::array<struct sigaction, Signals.size()> previous_{};
    int wakeEnds_[2] = {-1, -1};
};

} // namespace Basalt
