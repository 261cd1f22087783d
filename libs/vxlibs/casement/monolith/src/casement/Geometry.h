#pragma once

#include <algorithm>
#include <cstdint>

namespace Casement {

struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool operator==(const Point&) const = default;
};

// A rectangle in pixels; empty when its width or height is 0 or less.
struct Rect {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;

    bool empty() const { return width <= 0 || height <= 0; }
    std::int32_t right() const { return x + width; }
    std::int32_t bottom() const { return y + height; }
    bool operator==(const Rect&) const = default;
};

// The common part of two rectangles; an empty rectangle when they do not meet.
inline Rect intersect(const Rect& a, const Rect& b)
{
    const std::int32_t left = std::max(a.x, b.x);
    const std::int32_t top = std::max(a.y, b.y);
    const std::int32_t right = std::min(a.right(), b.right());
    const std::int32_t bottom = std::min(a.bottom(), b.bottom());
    if (right <= left || bottom <= top) {
        return {left, top, 0, 0};
    }
    return {left, top, right - left, bottom - top};
}

} // namespace Casement
