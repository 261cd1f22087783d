// The widget's state flags, geometry and the stacking of its children.
#include "trellis/Pane.h"
#include "trellis/Widget.h"

#include <algorithm>

namespace Trellis {
namespace {

// Geometry comes from stylesheets; keeping every value within this limit
// keeps the sums of positions, sizes and margins of a deep tree far from the
// limits of 32-bit arithmetic.
constexpr std::int32_t ExtentLimit = 1 << 22;

std::int32_t limited(std::int32_t value)
{
    return std::clamp(value, -ExtentLimit, ExtentLimit);
}

tEdges limited(const tEdges& edges)
{
    return {limited(edges.left), limited(edges.top), limited(edges.right), limited(edges.bottom)};
}

} // namespace

std::int32_t Widget::limitExtent(std::int32_t value)
{
    return limited(value);
}

void Widget::setFlag(std::uint32_t flag, bool on)
{
    flags_ = on ? (flags_ | flag) : (flags_ & ~flag);
}

void Widget::setVisible(bool visible)
{
    if (hasFlags(OwnVisible) == visible) {
        return;
    }
    setFlag(OwnVisible, visible);
    setFlag(EffectivelyVisible, visible && (!parent_ || parent_->hasFlags(EffectivelyVisible)));
    if (!isFloating()) {
        invalidateLayoutOf(parent_);
    }
    invalidate();
}

void Widget::setEnabled(bool enabled)
{
    if (hasFlags(OwnEnabled) != enabled) {
        setFlag(OwnEnabled, enabled);
        invalidate();
    }
}

void Widget::setSelected(bool selected)
{
    if (hasFlags(Selected) != selected) {
        setFlag(Selected, selected);
        repaint();
    }
}

void Widget::setFloating(bool floating)
{
    if (isFloating() != floating) {
        setFlag(Floating, floating);
        invalidateLayoutOf(parent_);
        invalidate();
    }
}

Casement::Rect Widget::contentRect() const
{
    return {absolute_.x + margins_.left, absolute_.y + margins_.top, width_ - margins_.left - margins_.right,
            height_ - margins_.top - margins_.bottom};
}

void Widget::setPosition(std::int32_t x, std::int32_t y)
{
    x = limited(x);
    y = limited(y);
    if (position_ == Casement::Point{x, y}) {
        return;
    }
    recordPlaceInParent();
    position_ = {x, y};
    invalidate();
}

void Widget::setSize(std::int32_t width, std::int32_t height)
{
    width = std::max(width, minimum_.x);
    if (maximum_.x > 0 && maximum_.x < width) {
        width = maximum_.x;
    }
    height = std::max(height, minimum_.y);
    if (maximum_.y > 0 && maximum_.y < height) {
        height = maximum_.y;
    }
    width = std::clamp(width, 0, ExtentLimit);
    height = std::clamp(height, 0, ExtentLimit);
    if (width == width_ && height == height_) {
        return;
    }
    if (isFloating()) {
        recordPlaceInParent();
    } else {
        invalidateLayoutOf(parent_);
    }
    width_ = width;
    height_ = height;
    invalidate();
}

void Widget::setSizeLimits(Casement::Point minimum, Casement::Point maximum)
{
    minimum_ = minimum;
    maximum_ = maximum;
    setSize(width_, height_);
}

void Widget::setMargins(const tEdges& requested)
{
    const tEdges margins = limited(requested);
    if (margins_ != margins) {
        margins_ = margins;
        invalidate();
    }
}

void Widget::setOuterMargins(const tEdges& requested)
{
    const tEdges margins = limited(requested);
    if (outerMargins_ != margins) {
        outerMargins_ = margins;
        invalidateLayoutOf(parent_);
        invalidate();
    }
}

void Widget::invalidateLayoutOf(Widget* widget)
{
    if (widget) {
        widget->invalidate();
    }
}

// Both must have been placed by an update pass for the place to mean anything.
void Widget::recordPlaceInParent()
{
    if (parent_ && hasFlags(Realised) && parent_->hasFlags(Realised) && !clip_.empty()) {
        parent_->dirtyRegion_.push_back(clip_);
    }
}

void Widget::layoutChildren(std::uint32_t direction, std::int32_t spacing)
{
    const std::int32_t contentWidth = width_ - margins_.left - margins_.right;
    const std::int32_t contentHeight = height_ - margins_.top - margins_.bottom;
    std::int32_t along = direction == RightToLeft ? contentWidth : direction == BottomToTop ? contentHeight : 0;
    for (const auto& child : children_) {
        if (!child->isShown() || child->isFloating()) {
            continue;
        }
        const tEdges& outer = child->outerMargins_;
        switch (direction) {
        case LeftToRight:
            child->setPosition(along + outer.left, outer.top);
            child->setHeight(contentHeight - outer.top - outer.bottom);
            along += child->width_ + outer.left + outer.right + spacing;
            break;
        case RightToLeft:
            along -= child->width_ + outer.left + outer.right;
            child->setPosition(along + outer.left, outer.top);
            child->setHeight(contentHeight - outer.top - outer.bottom);
            along -= spacing;
            break;
        case BottomToTop:
            along -= child->height_ + outer.top + outer.bottom;
            child->setPosition(outer.left, along + outer.top);
            child->setWidth(contentWidth - outer.left - outer.right);
            along -= spacing;
            break;
        default:  // TopToBottom
            child->setPosition(outer.left, along + outer.top);
            child->setWidth(contentWidth - outer.left - outer.right);
            along += child->height_ + outer.top + outer.bottom + spacing;
            break;
        }
    }
}

} // namespace Trellis
