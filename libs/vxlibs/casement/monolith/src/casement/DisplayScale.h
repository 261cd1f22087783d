#pragma once

#include <SDL.h>

#include <cstdint>
#include <optional>

namespace Casement::DETAIL {

// The two scales of a window: the exact scale (display density / 96) that
// maps logical units to device pixels, and the backing scale (the exact
// scale rounded up) that canvases are drawn at.
struct tDisplayScale {
    double exact = 1.0;
    std::int32_t backing = 1;

    bool operator==(const tDisplayScale&) const = default;
};

class DisplayScale {
public:
    // The scales for a density in dots per inch; densities below 96 (or
    // unknown) give scale 1, as a display is never drawn smaller than 1:1.
    static tDisplayScale fromDensity(double dotsPerInch);
    static tDisplayScale fromExact(double exact);

    // The scales for the display that shows `window`: the override when one is
    // set, else the ratio of the window's pixel size to its size when the
    // platform scales windows itself (Wayland), else the X resource Xft.dpi,
    // else SDL's display density. Scale 1 when every query fails.
    static tDisplayScale forWindow(SDL_Window* window);

    // Fixes the exact scale for every window (for tests and for users whose
    // display reports a wrong density); empty goes back to the queries. The
    // environment variable TVS_DISPLAY_SCALE (for example "1.5") sets it too.
    static void setOverride(std::optional<double> exact);

    // Device pixels to logical units and back, rounded to nearest.
    static std::int32_t toLogical(std::int32_t device, double exact);
    static std::int32_t toDevice(std::int32_t logical, double exact);
};

} // namespace Casement::DETAIL
