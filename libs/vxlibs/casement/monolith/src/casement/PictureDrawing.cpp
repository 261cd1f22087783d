#include "casement/PictureDrawing.h"

#include "casement/Picture.h"
#include "casement/PictureCombiner.h"
#include "casement/PictureCombinerFunctors.h"
#include "casement/StretchParts.h"

namespace Casement {
namespace {

template <class F>
void drawNatural(PictureCombiner<F> combiner, std::int32_t x, std::int32_t y, const Picture& picture,
                 std::uint32_t frame, const Rect& clip)
{
    const Rect part = picture.frameRect(frame);
    combiner.tile(picture, part, {x, y, part.width, part.height}, clip);
}

template <class F>
void drawStretched(PictureCombiner<F> combiner, const Rect& rect, const Picture& picture, std::uint32_t frame,
                   const Rect& clip)
{
    if (!picture.verticallyStretchable() && !picture.horizontallyStretchable()) {
        drawNatural(combiner, rect.x, rect.y, picture, frame, clip);
        return;
    }
    for (const DETAIL::tStretchPart& part : DETAIL::stretchParts(picture, frame, rect)) {
        combiner.tile(picture, part.source, part.target, clip);
    }
}

} // namespace

void drawPicture(Picture& buffer, std::int32_t x, std::int32_t y, const Picture& picture, std::uint32_t frame,
                 const Rect& clip, eDrawMode mode)
{
    if (mode == eDrawMode::CopySource) {
        drawNatural(PictureCombiner<PictureCombinerFunctors::CopySource>(buffer), x, y, picture, frame, clip);
    } else {
        drawNatural(PictureCombiner<PictureCombinerFunctors::BlendUsingAlpha>(buffer), x, y, picture, frame, clip);
    }
}

void drawStretchedPicture(Picture& buffer, const Rect& rect, const Picture& picture, std::uint32_t frame,
                          const Rect& clip, eDrawMode mode)
{
    if (mode == eDrawMode::CopySource) {
        drawStretched(PictureCombiner<PictureCombinerFunctors::CopySource>(buffer), rect, picture, frame, clip);
    } else {
        drawStretched(PictureCombiner<PictureCombinerFunctors::BlendUsingAlpha>(buffer), rect, picture, frame, clip);
    }
}

void drawDyedPicture(Picture& buffer, const Rect& rect, const Picture& mask, std::uint32_t frame,
                     std::uint32_t dyeColour, const Rect& clip)
{
    const PictureCombinerFunctors::DyeUsingAlphaMask dye(dyeColour);
    if (dye.alpha != 0) {
        drawStretched(PictureCombiner(buffer, dye), rect, mask, frame, clip);
    }
}

} // namespace Casement
