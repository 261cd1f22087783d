#pragma once

#include "casement/FileDescriptor.h"

#include <basalt/InterruptWatch.h>

#include <thread>

namespace Casement {

// Brings the signals that end a program from outside (see
// Basalt::InterruptWatch) to the user-interface thread: a thread of its own
// waits on the watch and posts InterruptCommand to the application, which
// asks for the count and decides. Create it once the framework has started,
// so that its handlers replace SDL's (which turn SIGINT and SIGTERM into a
// plain quit); the previous handling comes back when it is destroyed.
class InterruptRelay {
public:
    InterruptRelay();
    ~InterruptRelay();
    InterruptRelay(const InterruptRelay&) = delete;
    InterruptRelay& operator=(const InterruptRelay&) = delete;

    // The interruptions since the last call, and the last one's signal.
    int takeInterrupts() { return watch_.takeInterrupts(); }
    int lastSignal() const { return watch_.lastSignal(); }

private:
    void relay();

    Basalt::InterruptWatch watch_;
    DETAIL::FileDescriptor stopRead_;
    DETAIL::FileDescriptor stopWrite_;
    std::thread thread_;
};

} // namespace Casement
