#pragma once

#include "casement/Geometry.h"
#include "casement/Picture.h"
#include "casement/PictureCombinerFunctors.h"

#include <algorithm>
#include <cstdint>

namespace Casement {

namespace DETAIL {

// A destination area in drawing coordinates, in 64 bits so that no sum of
// a position, a size and the destination's origin overflows.
struct tDrawArea {
    std::int64_t x = 0;
    std::int64_t y = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;
};

// What one tiling touches: `region`, the destination pixels to write (inside
// the target, the clip, the visible rectangle and the destination's bounds;
// empty when there are none), the target's top-left in destination pixels,
// and the source part cut to the source's bounds.
struct tTileArea {
    Rect region;
    std::int64_t targetX = 0;
    std::int64_t targetY = 0;
    Rect part;
};

tTileArea tileArea(const Picture& destination, const Picture& source, const Rect& part, const tDrawArea& target,
                   const Rect& clip);

} // namespace DETAIL

// Combines parts of source pictures into a destination picture with the
// functor F (see casement/PictureCombinerFunctors.h). Positions are in
// drawing coordinates: the destination's origin is added to them, and
// nothing is written outside the destination's visible rectangle.
template <class F>
class PictureCombiner {
public:
    explicit PictureCombiner(Picture& destination, F functor = F{}) : destination_(destination), functor_(functor) {}

    // Fills `target` with the `part` of `source` repeated across and down
    // from the target's top-left corner, within `clip`. A target of the
    // part's own size draws it once.
    void tile(const Picture& source, const Rect& part, const DETAIL::tDrawArea& target, const Rect& clip)
    {
        const DETAIL::tTileArea area = DETAIL::tileArea(destination_, source, part, target, clip);
        if (area.region.empty()) {
            return;
        }
        const tCombineFlags flags{source.hasAlpha(), source.fastBlend() || destination_.fastBlend()};
        for (std::int32_t y = area.region.y; y < area.region.bottom(); ++y) {
            const auto sourceY = static_cast<std::int32_t>(area.part.y + (y - area.targetY) % area.part.height);
            combineRow(destination_.row(y), source.row(sourceY) + area.part.x, area, flags);
        }
    }

private:
    void combineRow(std::uint32_t* to, const std::uint32_t* from, const DETAIL::tTileArea& area,
                    const tCombineFlags& flags) const
    {
        for (std::int32_t x = area.region.x; x < area.region.right();) {
            const auto offset = static_cast<std::int32_t>((x - area.targetX) % area.part.width);
            const std::int32_t count = std::min(area.part.width - offset, area.region.right() - x);
            functor_(to + x, from + offset, count, flags);
            x += count;
        }
    }

    Picture& destination_;
    F functor_;
};

} // namespace Casement
