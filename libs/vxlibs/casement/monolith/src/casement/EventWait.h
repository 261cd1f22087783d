#pragma once

#include <SDL.h>

namespace Casement::DETAIL {

// Waits for the next SDL event without spinning, and no longer than until the
// next event timer period runs out. SDL waits for events properly only while
// one of its windows exists; without a window it polls every millisecond. So
// while no window is registered, the wait sleeps until an event is pushed (an
// event watch wakes it) and pumps SDL at least every 100 ms for what only a
// pump delivers (a termination signal as SDL_QUIT).
class EventWait {
public:
    // Installed by the framework's initialisation after SDL's event subsystem.
    static void install();
    static void uninstall();

    // The next event, or the timer event of an event timer whose period has
    // run out (event timers wait with the loop, see EventTimerManagerSdlBridge);
    // false when SDL reported an error.
    static bool next(SDL_Event& event);

private:
    static bool timerDue(SDL_Event& event);
};

} // namespace Casement::DETAIL
