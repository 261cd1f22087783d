#pragma once

#include "casement/AbstractEventTimerManagerOsBridge.h"

#include <SDL.h>

namespace Casement {

class EventTimerManager;

// The platform timer of an EventTimerManager on SDL. An SDL timer, on SDL's
// timer thread, only pushes a timer event carrying the bridge's timer id; the
// message loop hands that event to timerProc on the user-interface thread,
// which finds the bridge in a process-wide registry and ticks its manager.
// As with a platform timer message, at most one timer event per bridge waits
// in the queue: a user-interface thread that was blocked gets one late tick,
// not a burst.
class EventTimerManagerSdlBridge final : public AbstractEventTimerManagerOsBridge {
public:
    explicit EventTimerManagerSdlBridge(EventTimerManager& manager);
    ~EventTimerManagerSdlBridge() override;
    EventTimerManagerSdlBridge(const EventTimerManagerSdlBridge&) = delete;
    EventTimerManagerSdlBridge& operator=(const EventTimerManagerSdlBridge&) = delete;

    // When SDL cannot create the timer the bridge stays stopped.
    void start(int periodMs) override;
    void stop() override;

    // The running timer's id; 0 when stopped.
    int timerId() const { return timerId_; }

    // Ticks the manager of the bridge registered under `timerId`; an id that
    // is not registered (a timer already stopped) is ignored.
    static void timerProc(int timerId);

private:
    static Uint32 onSdlTimer(Uint32 interval, void* param);

    EventTimerManager& manager_;
    int timerId_ = 0;
    SDL_TimerID sdlTimer_ = 0;
};

} // namespace Casement
