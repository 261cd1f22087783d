#include "X11WindowOf.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>

std::string x11WindowOf(SDL_Window* window)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) {
        return {};
    }
    return std::to_string(info.info.x11.window);
}

void sendToMissingWindow(SDL_Window* window)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) {
        return;
    }
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.format = 32;
    XSendEvent(info.info.x11.display, 0x1FFFFF, False, NoEventMask, &event);
    XSync(info.info.x11.display, False);
}
