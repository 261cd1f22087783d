#pragma once

#include <cstdint>

// Pixels are 32-bit values 0xAARRGGBB stored little-endian (blue, green, red,
// alpha in memory), colour channels not premultiplied by alpha.
namespace Casement::Pixel {

constexpr std::uint32_t blue(std::uint32_t pixel) { return pixel & 0xFF; }
constexpr std::uint32_t green(std::uint32_t pixel) { return (pixel >> 8) & 0xFF; }
constexpr std::uint32_t red(std::uint32_t pixel) { return (pixel >> 16) & 0xFF; }
constexpr std::uint32_t alpha(std::uint32_t pixel) { return pixel >> 24; }

constexpr std::uint32_t make(std::uint32_t b, std::uint32_t g, std::uint32_t r, std::uint32_t a)
{
    return b | (g << 8) | (r << 16) | (a << 24);
}

// x / 255 (exact at 0 and 255 × 255) with shifts only, for x up to 255 × 255.
constexpr std::uint32_t div255(std::uint32_t x) { return (x + (x >> 8) + 1) >> 8; }

} // namespace Casement::Pixel
