#include "casement/StandaloneWindowOSImpl.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace Casement {
namespace {

struct SurfaceDeleter {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using tSurface = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

// The buffer as an SDL surface without a copy. Pixels are 32-bit values
// 0xAARRGGBB, which SDL calls ARGB8888 whatever the byte order. SDL only
// reads from a surface that is the source of a blit or an icon.
tSurface wrap(const std::uint32_t* pixels, std::int32_t width, std::int32_t height)
{
    tSurface surface(SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint32_t*>(pixels), width, height, 32,
                                                         width * 4, SDL_PIXELFORMAT_ARGB8888));
    if (surface) {
        SDL_SetSurfaceBlendMode(surface.get(), SDL_BLENDMODE_NONE);
    }
    return surface;
}

SDL_Rect toSdl(const Rect& rect)
{
    return {rect.x, rect.y, rect.width, rect.height};
}

// Scales the part of the buffer under the device `area` of the target with
// bilinear smoothing into a surface of the buffer's own format (SDL's linear
// stretch needs equal formats), then converts while copying to the window.
bool copyScaled(SDL_Surface& buffer, SDL_Surface& target, const Rect& area)
{
    const double fx = static_cast<double>(target.w) / buffer.w;
    const double fy = static_cast<double>(target.h) / buffer.h;
    const auto sourceLeft = static_cast<int>(std::floor(area.x / fx));
    const auto sourceTop = static_cast<int>(std::floor(area.y / fy));
    SDL_Rect from{sourceLeft, sourceTop,
                  std::min(buffer.w, static_cast<int>(std::ceil(area.right() / fx))) - sourceLeft,
                  std::min(buffer.h, static_cast<int>(std::ceil(area.bottom() / fy))) - sourceTop};
    tSurface scaled(SDL_CreateRGBSurfaceWithFormat(0, area.width, area.height, 32, SDL_PIXELFORMAT_ARGB8888));
    if (!scaled || from.w <= 0 || from.h <= 0 || SDL_SoftStretchLinear(&buffer, &from, scaled.get(), nullptr) != 0) {
        return false;
    }
    SDL_SetSurfaceBlendMode(scaled.get(), SDL_BLENDMODE_NONE);
    SDL_Rect to = toSdl(area);
    return SDL_BlitSurface(scaled.get(), nullptr, &target, &to) == 0;
}

} // namespace

bool StandaloneWindow::OSImpl::present(const std::uint32_t* buffer, std::int32_t width, std::int32_t height,
                                       const Rect& dirty)
{
    if (window_ == nullptr || buffer == nullptr || width <= 0 || height <= 0) {
        return false;
    }
    SDL_Surface* target = SDL_GetWindowSurface(window_);
    const tSurface source = wrap(buffer, width, height);
    if (target == nullptr || !source) {
        return false;
    }
    const Rect area = intersect(dirty, {0, 0, target->w, target->h});
    if (area.empty()) {
        return true;
    }
    if (width == target->w && height == target->h) {
        SDL_Rect from = toSdl(area);
        SDL_Rect to = from;
        if (SDL_BlitSurface(source.get(), &from, target, &to) != 0) {
            return false;
        }
    } else if (!copyScaled(*source, *target, area)) {
        return false;
    }
    const SDL_Rect updated = toSdl(area);
    return SDL_UpdateWindowSurfaceRects(window_, &updated, 1) == 0;
}

bool StandaloneWindow::OSImpl::setIcon(const std::uint32_t* pixels, std::int32_t width, std::int32_t height)
{
    if (window_ == nullptr || pixels == nullptr || width <= 0 || height <= 0) {
        return false;
    }
    const tSurface icon = wrap(pixels, width, height);
    if (!icon) {
        return false;
    }
    SDL_SetWindowIcon(window_, icon.get());
    return true;
}

} // namespace Casement
