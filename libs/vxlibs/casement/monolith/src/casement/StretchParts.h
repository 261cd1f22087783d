#pragma once

#include "casement/Geometry.h"
#include "casement/PictureCombiner.h"

#include <cstdint>
#include <vector>

namespace Casement {

class Picture;

namespace DETAIL {

// One of the nine parts of a stretched frame: the source part and the
// destination area it is tiled over.
struct tStretchPart {
    Rect source;
    tDrawArea target;
};

// The parts of `frame` of a stretchable picture to tile over `rect`, in
// drawing order (top-left, top, top-right, left, centre, right, bottom-left,
// bottom, bottom-right), without the parts of size 0 and those that the
// frame's part mask hides. Nothing when the frame's centre is empty.
std::vector<tStretchPart> stretchParts(const Picture& picture, std::uint32_t frame, const Rect& rect);

} // namespace DETAIL
} // namespace Casement
