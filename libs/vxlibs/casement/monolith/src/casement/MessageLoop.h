#pragma once

#include "casement/EventHandler.h"

#include <SDL.h>

#include <cstdint>

namespace Casement {

class EventTimerManager;

// The user-interface thread's message loop on the SDL event queue, and what
// is posted to it.
class MessageLoop {
public:
    // Takes events until SDL_QUIT or a posted quit arrives and returns the
    // quit's exit code (0 for SDL_QUIT). Before a private event (a command or
    // a post) the timers tick when they have been starved for more than two
    // periods. After each dispatched event, a set `quitFlag` posts the quit.
    // Before each wait, GLib's main context is served while MainContextPump
    // runs.
    static int run(EventTimerManager& timers, const bool& quitFlag);

    // Hands one event to its receiver: window events to their window through
    // the window event router, the framework's events to their own handlers.
    // The text SDL allocated for a dropped file or text is freed afterwards,
    // whether a window took the event or not.
    static void dispatch(const SDL_Event& event);

    // Ends the loop with `exitCode` once the events queued before it are
    // dispatched. Any thread.
    static bool postQuit(int exitCode);

    // Queues CommandEvent with `commandId` for `target`. When the target does
    // not handle it (or is null), the current application's onCommand gets it.
    // Any thread; false when the queue refused the event.
    static bool postCommand(EventHandler* target, std::uint32_t commandId);
    // Drops the commands still queued for `target`; a handler calls it before
    // it is destroyed.
    static void revokeCommands(EventHandler* target);

private:
    static void deliverCommand(Sint32 sequence);
};

} // namespace Casement
