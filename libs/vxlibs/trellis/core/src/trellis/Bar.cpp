#include "trellis/Bar.h"

#include "trellis/StyleLookups.h"
#include "trellis/StyleRule.h"
#include "trellis/Warnings.h"

#include <fmt/format.h>

#include <algorithm>

namespace Trellis {
namespace {

const PooledName Spacing("spacing");
const PooledName Width("width");
const PooledName Height("height");

// The widest child across the direction (comparing as unsigned values, as
// the stacking arithmetic always has), floating ones included, plus the
// Bar's own margins across it.
void fitBreadth(Bar& bar)
{
    const bool horizontal = bar.isHorizontal();
    std::uint32_t largest = 0;
    for (const auto& child : bar.children()) {
        if (!child->isShown()) {
            continue;
        }
        const tEdges& outer = child->outerMargins();
        const std::int32_t breadth = horizontal ? child->height() + outer.top + outer.bottom
                                                : child->width() + outer.left + outer.right;
        largest = std::max(largest, static_cast<std::uint32_t>(breadth));
    }
    const tEdges& margins = bar.margins();
    const std::int32_t breadth =
        static_cast<std::int32_t>(largest) + (horizontal ? margins.top + margins.bottom : margins.left + margins.right);
    if (horizontal) {
        bar.setSize(bar.width(), breadth);
    } else {
        bar.setSize(breadth, bar.height());
    }
}

// A child's extent along the direction, with its outer margins.
std::int32_t lengthOf(const Widget& child, bool horizontal)
{
    const tEdges& outer = child.outerMargins();
    return horizontal ? child.width() + outer.left + outer.right : child.height() + outer.top + outer.bottom;
}

bool isStacked(const Widget& child)
{
    return child.isShown() && !child.isFloating();
}

std::string origin(const StyleRule& rule)
{
    return rule.origin ? fmt::format("{0}:{1}", rule.origin->source, rule.origin->line) : std::string("?");
}

} // namespace

Bar& Bar::init(std::uint32_t direction, const char* style)
{
    if (direction != direction_) {
        direction_ = direction;
        invalidate();
    }
    setPainter([](Bar& bar, PaintContext& context) { bar.drawer_.drawPanel(bar, context); });
    setStyle(style);
    return *this;
}

void Bar::setAutoBreadth()
{
    breadthFunction_ = fitBreadth;
    setPostLayoutHook(fitBreadth);
    autoLength_ = false;
    invalidate();
}

void Bar::setAutoLength(bool on)
{
    autoLength_ = on;
    invalidate();
}

void Bar::setFlexibleChild(std::int32_t index)
{
    flexibleChild_ = index;
    invalidate();
}

void Bar::layout()
{
    if (breadthFunction_) {
        breadthFunction_(*this);
    }
    if (autoLength_) {
        fitLength();
    }
    sizeFlexibleChild();
    layoutChildren(direction_, spacing_);
}

void Bar::setWidth(std::int32_t width)
{
    if (!(autoLength_ && isHorizontal())) {
        Widget::setWidth(width);
    }
}

void Bar::setHeight(std::int32_t height)
{
    if (!(autoLength_ && !isHorizontal())) {
        Widget::setHeight(height);
    }
}

void Bar::fitLength()
{
    const bool horizontal = isHorizontal();
    std::int32_t length = horizontal ? margins().left + margins().right : margins().top + margins().bottom;
    std::int32_t stacked = 0;
    for (const auto& child : children()) {
        if (isStacked(*child)) {
            length += lengthOf(*child, horizontal) + (stacked++ > 0 ? spacing_ : 0);
        }
    }
    if (horizontal) {
        setSize(length, height());
    } else {
        setSize(width(), length);
    }
}

void Bar::sizeFlexibleChild()
{
    if (flexibleChild_ < 0 || static_cast<std::size_t>(flexibleChild_) >= children().size()) {
        return;
    }
    const bool horizontal = isHorizontal();
    Widget& flexible = *children()[static_cast<std::size_t>(flexibleChild_)];
    std::int32_t taken = 0;
    for (const auto& child : children()) {
        if (child.get() != &flexible && isStacked(*child)) {
            taken += lengthOf(*child, horizontal) + spacing_;
        }
    }
    const tEdges& outer = flexible.outerMargins();
    if (horizontal) {
        const std::int32_t content = width() - margins().left - margins().right;
        flexible.setSize(content - outer.left - outer.right - taken, flexible.height());
    } else {
        const std::int32_t content = height() - margins().top - margins().bottom;
        flexible.setSize(flexible.width(), content - outer.top - outer.bottom - taken);
    }
}

void Bar::applyStyle()
{
    if (lookupInteger(*this, Spacing, spacing_)) {
        spacing_ = limitExtent(spacing_);
    }
    Widget::applyStyle();
    reportContradictions();
}

// Each report names the property, the Bar and where the stylesheet gives it;
// the stylesheet's value stays in force as both size limits.
void Bar::reportContradictions()
{
    const PooledName& breadth = isHorizontal() ? Height : Width;
    const PooledName& length = isHorizontal() ? Width : Height;
    if (breadthFunction_) {
        if (const StyleRule* rule = lookupRule(*this, breadth)) {
            reportWarning(fmt::format("Layout contradiction - {0} of Bar {1} is given at line {2} of the stylesheet "
                                      "but also computed automatically by styleBreadthXXX!!!",
                                      breadth.str(), id().str(), origin(*rule)));
        }
    }
    if (!autoLength_) {
        return;
    }
    if (flexibleChild_ >= 0) {
        reportWarning(fmt::format(" Layout contradiction - Bar {0} has a flexible element, but is also computed "
                                  "automatically by styleLengthXXX!!!",
                                  id().str()));
    }
    if (const StyleRule* rule = lookupRule(*this, length)) {
        reportWarning(fmt::format("Layout contradiction - {0} of Bar {1} is given at line {2} of the stylesheet but "
                                  "also computed automatically by styleLengthXXX!!!",
                                  length.str(), id().str(), origin(*rule)));
    }
}

} // namespace Trellis
