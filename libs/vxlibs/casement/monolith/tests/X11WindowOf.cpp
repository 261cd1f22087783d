#include "X11WindowOf.h"

#include <SDL_syswm.h>

std::string x11WindowOf(SDL_Window* window)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) {
        return {};
    }
    return std::to_string(info.info.x11.window);
}
