#pragma once

#include <SDL.h>

#include <functional>

namespace Casement::DETAIL {

// Hands the SDL events that belong to a window (window, mouse, keyboard, drop and
// text events carry the id of their window) to that window's handler. Windows
// add themselves when their SDL window is created and remove themselves when
// it is destroyed; the message loop routes every such event it takes from the
// queue. Used on the user-interface thread only.
class WindowEventRouter {
public:
    using tHandler = std::function<void(const SDL_Event& event)>;

    static void add(Uint32 windowId, tHandler handler);
    static void remove(Uint32 windowId);
    // True when the event belongs to a window that has a handler and was handed to it.
    static bool route(const SDL_Event& event);
    // The window an event belongs to; 0 for events of no window.
    static Uint32 windowOf(const SDL_Event& event);
    // True while at least one window has a handler.
    static bool hasWindows();
};

} // namespace Casement::DETAIL
