#include "casement/DisplayScale.h"

#include <SDL_syswm.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <string>

namespace Casement::DETAIL {
namespace {

constexpr double referenceDensity = 96.0;

std::optional<double>& overrideScale()
{
    static std::optional<double> scale;
    return scale;
}

std::optional<double> environmentScale()
{
    const char* text = std::getenv("TVS_DISPLAY_SCALE");
    if (text == nullptr || *text == '\0') {
        return std::nullopt;
    }
    char* end = nullptr;
    const double scale = std::strtod(text, &end);
    if (*end != '\0' || !(scale > 0.0) || scale > 16.0) {
        return std::nullopt;
    }
    return scale;
}

// Wayland (and other platforms that scale windows themselves) give the window
// more pixels than its size in points.
std::optional<double> pixelRatio(SDL_Window* window)
{
    int width = 0;
    int height = 0;
    int pixelWidth = 0;
    int pixelHeight = 0;
    SDL_GetWindowSize(window, &width, &height);
    SDL_GetWindowSizeInPixels(window, &pixelWidth, &pixelHeight);
    if (width <= 0 || pixelWidth <= width) {
        return std::nullopt;
    }
    return static_cast<double>(pixelWidth) / width;
}

// "Xft.dpi:\t144" in the resource database that the desktop publishes on
// the root window. libX11 is used only when SDL has already loaded it.
std::optional<double> xftDensity(SDL_Window* window)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) {
        return std::nullopt;
    }
    void* x11 = dlopen("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
    if (x11 == nullptr) {
        return std::nullopt;
    }
    using tResourceManagerString = char* (*)(Display*);
    const auto resources = reinterpret_cast<tResourceManagerString>(dlsym(x11, "XResourceManagerString"));
    const char* database = resources ? resources(info.info.x11.display) : nullptr;
    std::optional<double> density;
    if (const char* entry = database ? std::strstr(database, "Xft.dpi:") : nullptr) {
        const double value = std::strtod(entry + std::strlen("Xft.dpi:"), nullptr);
        if (value > 0.0) {
            density = value;
        }
    }
    dlclose(x11);
    return density;
}

std::optional<double> sdlDensity(SDL_Window* window)
{
    const int display = SDL_GetWindowDisplayIndex(window);
    float horizontal = 0.0f;
    if (display < 0 || SDL_GetDisplayDPI(display, nullptr, &horizontal, nullptr) != 0 || horizontal <= 0.0f) {
        return std::nullopt;
    }
    return horizontal;
}

} // namespace

tDisplayScale DisplayScale::fromExact(double exact)
{
    if (!(exact >= 1.0) || !std::isfinite(exact)) {
        return {};
    }
    return {exact, static_cast<std::int32_t>(std::ceil(exact - 1e-9))};
}

tDisplayScale DisplayScale::fromDensity(double dotsPerInch)
{
    return fromExact(dotsPerInch / referenceDensity);
}

tDisplayScale DisplayScale::forWindow(SDL_Window* window)
{
    if (const auto fixed = overrideScale() ? overrideScale() : environmentScale()) {
        return fromExact(*fixed);
    }
    if (window == nullptr) {
        return {};
    }
    if (const auto ratio = pixelRatio(window)) {
        return fromExact(*ratio);
    }
    if (const auto density = xftDensity(window)) {
        return fromDensity(*density);
    }
    if (const auto density = sdlDensity(window)) {
        return fromDensity(*density);
    }
    return {};
}

void DisplayScale::setOverride(std::optional<double> exact)
{
    overrideScale() = exact;
}

std::int32_t DisplayScale::toLogical(std::int32_t device, double exact)
{
    return static_cast<std::int32_t>(std::lround(device / exact));
}

std::int32_t DisplayScale::toDevice(std::int32_t logical, double exact)
{
    return static_cast<std::int32_t>(std::lround(logical * exact));
}

} // namespace Casement::DETAIL
