#include "casement/GlyphDrawing.h"

#include "casement/DyeBlend.h"
#include "casement/Picture.h"

#include <algorithm>

namespace Casement::DETAIL {
namespace {

// A span [begin, end) in 64 bits, so that no sum of coordinates overflows.
struct tSpan {
    std::int64_t begin = 0;
    std::int64_t end = 0;
};

tSpan cut(tSpan span, std::int64_t begin, std::int64_t length)
{
    return {std::max(span.begin, begin), std::min(span.end, begin + std::max<std::int64_t>(length, 0))};
}

tSpan cut(tSpan span, tSpan limit)
{
    return {std::max(span.begin, limit.begin), std::min(span.end, limit.end)};
}

} // namespace

Rect pixelClip(const Picture& target)
{
    const Rect& visible = target.visibleRect();
    const tSpan xs = cut({0, target.width()}, visible.x, visible.width);
    const tSpan ys = cut({0, target.height()}, visible.y, visible.height);
    if (xs.end <= xs.begin || ys.end <= ys.begin) {
        return {};
    }
    // Inside the target's bounds, so every value fits in 32 bits.
    return {static_cast<std::int32_t>(xs.begin), static_cast<std::int32_t>(ys.begin),
            static_cast<std::int32_t>(xs.end - xs.begin), static_cast<std::int32_t>(ys.end - ys.begin)};
}

void drawGlyph(Picture& target, const Rect& clip, std::int64_t x, std::int64_t y, const FontFace::tGlyph& glyph,
               std::uint32_t colour)
{
    const std::int64_t left = x + target.origin().x;
    const std::int64_t top = y + target.origin().y;
    const tSpan xs = cut({left, left + glyph.width}, {clip.x, std::int64_t{clip.x} + clip.width});
    const tSpan ys = cut({top, top + glyph.height}, {clip.y, std::int64_t{clip.y} + clip.height});
    for (std::int64_t row = ys.begin; row < ys.end; ++row) {
        std::uint32_t* pixel = target.row(static_cast<std::int32_t>(row)) + xs.begin;
        const std::uint8_t* coverage = glyph.coverage.data() + (row - top) * glyph.width + (xs.begin - left);
        for (std::int64_t n = xs.end - xs.begin; n > 0; --n, ++pixel, ++coverage) {
            if (*coverage != 0) {
                *pixel = Pixel::dyeUsingAlphaMask(*pixel, colour, *coverage);
            }
        }
    }
}

} // namespace Casement::DETAIL
