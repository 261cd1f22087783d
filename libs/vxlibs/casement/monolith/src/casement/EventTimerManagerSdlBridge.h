#pragma once

#include "casement/AbstractEventTimerManagerOsBridge.h"

#include <chrono>
#include <optional>

namespace Casement {

class EventTimerManager;

// The platform timer of an EventTimerManager on SDL's message loop. There is
// no timer thread: a running bridge keeps the time its period next runs out,
// and the loop's wait (EventWait) waits for events only until then, so a
// waiting loop wakes by its own time-out rather than through the display
// server, and the timer costs nothing between ticks. A period that has run
// out becomes a timer event carrying the bridge's timer id, which the loop
// hands to timerProc on the user-interface thread; timerProc finds the bridge
// in a process-wide registry and ticks its manager. As with a platform timer
// message, a loop that was blocked gets one late tick, not a burst.
class EventTimerManagerSdlBridge final : public AbstractEventTimerManagerOsBridge {
public:
    using tClock = std::chrono::steady_clock;

    explicit EventTimerManagerSdlBridge(EventTimerManager& manager);
    ~EventTimerManagerSdlBridge() override;
    EventTimerManagerSdlBridge(const EventTimerManagerSdlBridge&) = delete;
    EventTimerManagerSdlBridge& operator=(const EventTimerManagerSdlBridge&) = delete;

    void start(int periodMs) override;
    void stop() override;

    // The running timer's id; 0 when stopped.
    int timerId() const { return timerId_; }

    // Ticks the manager of the bridge registered under `timerId`; an id that
    // is not registered (a timer already stopped) is ignored.
    static void timerProc(int timerId);

    // The id of a running timer whose period has run out by `now`, whose next
    // period then starts; 0 when none has.
    static int takeDue(tClock::time_point now);
    // When the first running timer's period runs out; none while no timer runs.
    static std::optional<tClock::time_point> nextDue();

private:
    EventTimerManager& manager_;
    int timerId_ = 0;
};

} // namespace Casement
