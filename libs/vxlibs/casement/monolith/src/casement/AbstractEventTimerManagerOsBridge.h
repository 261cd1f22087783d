#pragma once

namespace Casement {

// The platform timer behind an EventTimerManager: while started, it calls the
// manager's tick() every period on the user-interface thread.
class AbstractEventTimerManagerOsBridge {
public:
    virtual ~AbstractEventTimerManagerOsBridge() = default;
    // Starts the timer; does nothing when it already runs.
    virtual void start(int periodMs) = 0;
    // Stops the timer; does nothing when it does not run.
    virtual void stop() = 0;
};

} // namespace Casement
