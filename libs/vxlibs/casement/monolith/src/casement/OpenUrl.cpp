#include "casement/OpenUrl.h"

#include <SDL.h>

namespace Casement {

bool openUrl(const std::string& url)
{
    return !url.empty() && SDL_OpenURL(url.c_str()) == 0;
}

} // namespace Casement
