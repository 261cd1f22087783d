#pragma once

#include "casement/DyeBlend.h"
#include "casement/PixelArithmetic.h"

#include <algorithm>
#include <cstdint>

namespace Casement {

// What a combiner passes to its functor about the pictures of one drawing:
// whether the source uses its alpha channel, and whether the fast-blend flag
// of the source or of the destination is set.
struct tCombineFlags {
    bool sourceHasAlpha = false;
    bool fastBlend = false;
};

// The per-pixel rules of the picture combiners. Each functor combines a row
// of `count` source pixels into as many destination pixels; the single-pixel
// operations are public so that the arithmetic can be checked on its own.
namespace PictureCombinerFunctors {

namespace DETAIL {

// div255(c1 x w + c2 x (255 - w)) for each colour channel, the alpha of `alphaFrom`.
constexpr std::uint32_t mixColours(std::uint32_t first, std::uint32_t second, std::uint32_t weight,
                                   std::uint32_t alphaFrom)
{
    const auto mix = [weight](std::uint32_t a, std::uint32_t b) {
        return Pixel::div255(a * weight + b * (255 - weight));
    };
    return Pixel::make(mix(Pixel::blue(first), Pixel::blue(second)), mix(Pixel::green(first), Pixel::green(second)),
                       mix(Pixel::red(first), Pixel::red(second)), Pixel::alpha(alphaFrom));
}

} // namespace DETAIL

// Copies the source; a source with alpha is laid over the destination, by the
// quick approximation when fast blending, else by the exact straight-alpha
// "over".
struct CopySource {
    static constexpr std::uint32_t fastBlend(std::uint32_t source, std::uint32_t destination)
    {
        const std::uint32_t a = Pixel::alpha(source);
        if (a == 0xFF || a == 0) {
            return a == 0 ? destination : source;
        }
        const auto mix = [a](std::uint32_t s, std::uint32_t d) { return (s * a + d * (255 - a)) >> 8; };
        return Pixel::make(mix(Pixel::blue(source), Pixel::blue(destination)),
                           mix(Pixel::green(source), Pixel::green(destination)),
                           mix(Pixel::red(source), Pixel::red(destination)), a);
    }

    // With m = s.a + (d.a x (255 - s.a) + 127) / 255, each colour channel
    // (s.c x s.a + (d.c x d.a x (255 - s.a) + 127) / 255 + m / 2) / m and
    // alpha m; 0 when m is 0. The two shortcuts give the same results.
    static constexpr std::uint32_t over(std::uint32_t source, std::uint32_t destination)
    {
        const std::uint32_t sa = Pixel::alpha(source);
        const std::uint32_t da = Pixel::alpha(destination);
        if (sa == 0xFF || sa == 0) {
            return sa == 0xFF ? source : (da == 0 ? 0 : destination);
        }
        const std::uint32_t m = sa + (da * (255 - sa) + 127) / 255;
        const std::uint32_t keep = da * (255 - sa);
        const auto mix = [=](std::uint32_t s, std::uint32_t d) {
            return (s * sa + (d * keep + 127) / 255 + m / 2) / m;
        };
        return Pixel::make(mix(Pixel::blue(source), Pixel::blue(destination)),
                           mix(Pixel::green(source), Pixel::green(destination)),
                           mix(Pixel::red(source), Pixel::red(destination)), m);
    }

    void operator()(std::uint32_t* destination, const std::uint32_t* source, std::int32_t count,
                    const tCombineFlags& flags) const
    {
        if (!flags.sourceHasAlpha) {
            std::copy_n(source, count, destination);
        } else if (flags.fastBlend) {
            std::transform(source, source + count, destination, destination, fastBlend);
        } else {
            overRow(destination, source, count);
        }
    }

private:
    // Pictures with alpha are mostly opaque (a panel's centre, all but its
    // rounded corners): runs of opaque pixels are copied whole, which gives
    // what "over" gives them, and only the rest is blended pixel by pixel.
    static void overRow(std::uint32_t* destination, const std::uint32_t* source, std::int32_t count)
    {
        const auto opaque = [](std::uint32_t pixel) { return Pixel::alpha(pixel) == 0xFF; };
        for (std::int32_t i = 0; i < count;) {
            const std::int32_t runEnd =
                static_cast<std::int32_t>(std::find_if_not(source + i, source + count, opaque) - source);
            std::copy(source + i, source + runEnd, destination + i);
            for (i = runEnd; i < count && !opaque(source[i]); ++i) {
                destination[i] = over(source[i], destination[i]);
            }
        }
    }
};

// Blends the source by its alpha weighted by the destination's alpha:
// w = div255(s.a x d.a); the destination keeps its alpha.
struct BlendUsingAlpha {
    static constexpr std::uint32_t blend(std::uint32_t source, std::uint32_t destination)
    {
        const std::uint32_t weight = Pixel::div255(Pixel::alpha(source) * Pixel::alpha(destination));
        return DETAIL::mixColours(source, destination, weight, destination);
    }

    void operator()(std::uint32_t* destination, const std::uint32_t* source, std::int32_t count,
                    const tCombineFlags&) const
    {
        std::transform(source, source + count, destination, destination, blend);
    }
};

// Paints the dye colour through the alpha of a mask picture:
// w = div255(m.a x k.a); the destination keeps its alpha.
struct DyeUsingAlphaMask {
    // The dye colour as 0xAARRGGBB.
    explicit constexpr DyeUsingAlphaMask(std::uint32_t colour)
        : blue(static_cast<std::uint8_t>(Pixel::blue(colour)))
        , green(static_cast<std::uint8_t>(Pixel::green(colour)))
        , red(static_cast<std::uint8_t>(Pixel::red(colour)))
        , alpha(static_cast<std::uint8_t>(Pixel::alpha(colour)))
    {
    }

    constexpr std::uint32_t dye(std::uint32_t mask, std::uint32_t destination) const
    {
        return Pixel::dyeUsingAlphaMask(destination, Pixel::make(blue, green, red, alpha), Pixel::alpha(mask));
    }

    void operator()(std::uint32_t* destination, const std::uint32_t* mask, std::int32_t count,
                    const tCombineFlags&) const
    {
        std::transform(mask, mask + count, destination, destination,
                       [this](std::uint32_t m, std::uint32_t d) { return dye(m, d); });
    }

    std::uint8_t blue;
    std::uint8_t green;
    std::uint8_t red;
    std::uint8_t alpha;
};

} // namespace PictureCombinerFunctors
} // namespace Casement
