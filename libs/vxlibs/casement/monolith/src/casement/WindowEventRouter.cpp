#include "casement/WindowEventRouter.h"

#include <map>
#include <utility>

namespace Casement::DETAIL {
namespace {

std::map<Uint32, WindowEventRouter::tHandler>& handlers()
{
    static std::map<Uint32, WindowEventRouter::tHandler> registered;
    return registered;
}

} // namespace

void WindowEventRouter::add(Uint32 windowId, tHandler handler)
{
    handlers()[windowId] = std::move(handler);
}

void WindowEventRouter::remove(Uint32 windowId)
{
    handlers().erase(windowId);
}

bool WindowEventRouter::route(const SDL_Event& event)
{
    const Uint32 window = windowOf(event);
    const auto found = handlers().find(window);
    if (window == 0 || found == handlers().end()) {
        return false;
    }
    // A copy: the handler may remove its window (and so itself) while it runs.
    const tHandler handler = found->second;
    handler(event);
    return true;
}

Uint32 WindowEventRouter::windowOf(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_WINDOWEVENT:
        return event.window.windowID;
    case SDL_MOUSEMOTION:
        return event.motion.windowID;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        return event.button.windowID;
    case SDL_MOUSEWHEEL:
        return event.wheel.windowID;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        return event.key.windowID;
    case SDL_TEXTINPUT:
        return event.text.windowID;
    case SDL_TEXTEDITING:
        return event.edit.windowID;
    case SDL_DROPBEGIN:
    case SDL_DROPFILE:
    case SDL_DROPTEXT:
    case SDL_DROPCOMPLETE:
        return event.drop.windowID;
    default:
        return 0;
    }
}

bool WindowEventRouter::hasWindows()
{
    return !handlers().empty();
}

} // namespace Casement::DETAIL
