#pragma once

#include "casement/Picture.h"

#include <optional>

namespace Casement {

// The enlarged copy that stands in for a picture missing at a display scale:
// round(width x scale) x round(height x scale) pixels and borders
// round(border x scale) (halves away from zero), the other properties and the
// part masks copied. Each source pixel fills a k x k block, k being the scale
// truncated to a whole number; with a fractional scale the pixels right of
// and below the blocks repeat the nearest block pixel, that is the last
// column and row of the source. Nothing when the scale is below 1 or not a
// number, the source is empty, or the copy would be wider or higher than
// 16384 pixels.
std::optional<Picture> enlargePicture(const Picture& source, float scale);

} // namespace Casement
