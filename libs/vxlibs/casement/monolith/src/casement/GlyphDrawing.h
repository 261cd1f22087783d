#pragma once

#include "casement/FontFace.h"
#include "casement/Geometry.h"

#include <cstdint>

namespace Casement {

class Picture;

namespace DETAIL {

// The pixels of `target` that drawing may change, in the target's own pixel
// coordinates: its visible rectangle cut to its bounds.
Rect pixelClip(const Picture& target);

// Dyes `target` with `colour` through the glyph's coverage, the glyph's
// top-left pixel at (x, y) in drawing coordinates, changing only pixels
// inside `clip` (a rectangle from pixelClip()).
void drawGlyph(Picture& target, const Rect& clip, std::int64_t x, std::int64_t y, const FontFace::tGlyph& glyph,
               std::uint32_t colour);

} // namespace DETAIL
} // namespace Casement
