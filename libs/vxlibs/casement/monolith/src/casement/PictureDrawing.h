#pragma once

#include "casement/Geometry.h"

#include <cstdint>

namespace Casement {

class Picture;

// How a picture's pixels meet the buffer's (casement/PictureCombinerFunctors.h).
enum class eDrawMode { CopySource, BlendUsingAlpha };

// Drawing into a buffer, a Picture used as target. Positions, rectangles and
// the clip rectangle are in drawing coordinates: the buffer's origin is added
// to each. The buffer's visible rectangle is in its own pixels. Only pixels
// inside the clip rectangle, the visible rectangle and the buffer itself are
// written, whatever the arguments. A frame index past the last frame draws
// the last frame.

// The frame at its natural size with its top-left corner at (x, y).
void drawPicture(Picture& buffer, std::int32_t x, std::int32_t y, const Picture& picture, std::uint32_t frame,
                 const Rect& clip, eDrawMode mode);

// The frame stretched over `rect` by its borders: corners at their natural
// size, edges and centre repeated (not scaled) to fill the rest, parts hidden
// by the frame's part mask left out; nothing when the frame's centre is
// empty. A picture that is not stretchable is drawn at its natural size at
// the rectangle's top-left corner.
void drawStretchedPicture(Picture& buffer, const Rect& rect, const Picture& picture, std::uint32_t frame,
                          const Rect& clip, eDrawMode mode);

// The alpha of the mask picture's frame, laid out as drawStretchedPicture
// does, painted in `dyeColour` (0xAARRGGBB); a dye of alpha 0 draws nothing.
void drawDyedPicture(Picture& buffer, const Rect& rect, const Picture& mask, std::uint32_t frame,
                     std::uint32_t dyeColour, const Rect& clip);

} // namespace Casement
