// Reading a widget's margins, size limits, position and stacking order from
// its style.
#include "trellis/ComputedStyle.h"
#include "trellis/LazyPicture.h"
#include "trellis/ManagerContainer.h"
#include "trellis/StyleLookups.h"
#include "trellis/Widget.h"

#include <casement/Picture.h>

namespace Trellis {
namespace {

struct tEdgeNames {
    PooledName all, left, right, top, bottom;
};

const tEdgeNames MarginNames{PooledName("margin"), PooledName("margin-left"), PooledName("margin-right"),
                             PooledName("margin-top"), PooledName("margin-bottom")};
const tEdgeNames OuterMarginNames{PooledName("outer-margin"), PooledName("outer-margin-left"),
                                  PooledName("outer-margin-right"), PooledName("outer-margin-top"),
                                  PooledName("outer-margin-bottom")};
const PooledName MinWidth("min-width");
const PooledName MaxWidth("max-width");
const PooledName MinHeight("min-height");
const PooledName MaxHeight("max-height");
const PooledName Width("width");
const PooledName Height("height");
const PooledName DrawForeground("draw_foreground");
const PooledName X("x");
const PooledName Y("y");
const PooledName ZIndex("z-index");

// The group's shorthand first, so that each single edge overrides it.
tEdges readEdges(const Widget& widget, const tEdgeNames& names, tEdges edges)
{
    std::int32_t all = 0;
    if (lookupInteger(widget, names.all, all)) {
        edges = {all, all, all, all};
    }
    lookupInteger(widget, names.left, edges.left);
    lookupInteger(widget, names.right, edges.right);
    lookupInteger(widget, names.top, edges.top);
    lookupInteger(widget, names.bottom, edges.bottom);
    return edges;
}

} // namespace

void Widget::applyStyle()
{
    auto* container = ManagerContainer::instance();
    if (!container) {
        return;
    }
    const ComputedStyle& style = container->computeStyle(*this);
    setMargins(readEdges(*this, MarginNames, margins_));
    setOuterMargins(readEdges(*this, OuterMarginNames, outerMargins_));

    lookupInteger(*this, MinWidth, minimum_.x);
    lookupInteger(*this, MaxWidth, maximum_.x);
    lookupInteger(*this, MinHeight, minimum_.y);
    lookupInteger(*this, MaxHeight, maximum_.y);
    if (std::int32_t width = 0; lookupInteger(*this, Width, width)) {
        minimum_.x = maximum_.x = width;
    }
    if (std::int32_t height = 0; lookupInteger(*this, Height, height)) {
        minimum_.y = maximum_.y = height;
    }
    if (bool drawForeground = false; lookupBool(*this, DrawForeground, drawForeground)) {
        setFlag(DrawForegroundTrue, drawForeground);
        setFlag(DrawForegroundFalse, !drawForeground);
    }
    applyPictureSize(style);
    setSize(width_, height_);

    Casement::Point place;
    const bool hasX = lookupInteger(*this, X, place.x);
    if (lookupInteger(*this, Y, place.y) || hasX) {
        setPosition(place.x, place.y);
        setFloating(true);
    }
    if (std::int32_t z = zIndex_; lookupInteger(*this, ZIndex, z) && z != zIndex_) {
        zIndex_ = z;
        if (parent_) {
            parent_->zOrder_.clear();
        }
    }
    needsUpdate_.store(1, std::memory_order_relaxed);
    setFlag(StyleOutOfDate, false);
}

// A picture that cannot stretch in a direction pins the widget's size in that
// direction to the picture's frame, plus the margins unless the picture
// covers them.
void Widget::applyPictureSize(const ComputedStyle& style)
{
    const bool includesMargin = readSlot(*this, style.pictureIncludesMargin);
    const auto& lazy = readSlot(*this, style.picture);
    const auto picture = lazy ? lazy->get(1.0f) : nullptr;
    if (!picture) {
        return;
    }
    const Casement::Rect frame = picture->frameRect(0);
    if (!picture->verticallyStretchable()) {
        minimum_.y = maximum_.y = frame.height + (includesMargin ? 0 : margins_.top + margins_.bottom);
    }
    if (!picture->horizontallyStretchable()) {
        minimum_.x = maximum_.x = frame.width + (includesMargin ? 0 : margins_.left + margins_.right);
    }
}

} // namespace Trellis
