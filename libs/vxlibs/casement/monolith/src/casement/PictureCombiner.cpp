#include "casement/PictureCombiner.h"

namespace Casement::DETAIL {
namespace {

// [first, last) on one axis, in 64 bits.
struct tSpan {
    std::int64_t first = 0;
    std::int64_t last = 0;
};

tSpan span(std::int64_t start, std::int64_t length)
{
    return {start, start + length};
}

tSpan meet(tSpan a, tSpan b)
{
    return {std::max(a.first, b.first), std::min(a.last, b.last)};
}

// The rectangle of two spans that lie inside a picture; empty when either is.
Rect rectOf(tSpan columns, tSpan rows)
{
    if (columns.last <= columns.first || rows.last <= rows.first) {
        return {};
    }
    return {static_cast<std::int32_t>(columns.first), static_cast<std::int32_t>(rows.first),
            static_cast<std::int32_t>(columns.last - columns.first), static_cast<std::int32_t>(rows.last - rows.first)};
}

} // namespace

tTileArea tileArea(const Picture& destination, const Picture& source, const Rect& part, const tDrawArea& target,
                   const Rect& clip)
{
    tTileArea area;
    area.part = rectOf(meet(span(part.x, part.width), span(0, source.width())),
                       meet(span(part.y, part.height), span(0, source.height())));
    if (area.part.empty()) {
        return area;
    }
    const Point origin = destination.origin();
    const Rect& visible = destination.visibleRect();
    area.targetX = target.x + origin.x;
    area.targetY = target.y + origin.y;
    const tSpan columns =
        meet(meet(span(area.targetX, target.width), span(std::int64_t{clip.x} + origin.x, clip.width)),
             meet(span(visible.x, visible.width), span(0, destination.width())));
    const tSpan rows = meet(meet(span(area.targetY, target.height), span(std::int64_t{clip.y} + origin.y, clip.height)),
                            meet(span(visible.y, visible.height), span(0, destination.height())));
    area.region = rectOf(columns, rows);
    return area;
}

} // namespace Casement::DETAIL
