#pragma once

#include "trellis/PanelDrawer.h"
#include "trellis/WidgetTemplate.h"

#include <functional>

namespace Trellis {

// The stacking container: places its visible, non-floating children one
// after another in its direction, with `spacing` pixels between them, each
// stretched across the direction. It can give one flexible child the length
// the others leave over, fit its breadth to its broadest child (automatic
// breadth) and fit its length to the sum of its children (automatic length).
// Its look is a panel (PanelDrawer).
class Bar : public WidgetTemplate<Bar> {
public:
    using tBreadthFunction = std::function<void(Bar& bar)>;

    // Sets the direction (invalidating when it changed), installs the panel
    // painter and sets the style (a null style leaves the style name unset).
    Bar& init(std::uint32_t direction, const char* style);
    // Fits the breadth to the children before and after each layout.
    void setAutoBreadth();
    // Fits the length to the children at each layout; the stylesheet and the
    // parent's stacking then no longer set it.
    void setAutoLength(bool on);
    // The child (by index) that takes the length the others leave; an index
    // out of range means none.
    void setFlexibleChild(std::int32_t index);

    std::uint32_t direction() const { return direction_; }
    std::int32_t spacing() const { return spacing_; }
    bool isHorizontal() const { return direction_ == LeftToRight || direction_ == RightToLeft; }

    std::string_view getClass() const override { return "Bar"; }
    void layout() override;
    void setWidth(std::int32_t width) override;
    void setHeight(std::int32_t height) override;
    // Reads "spacing", then the widget's style, then reports values of the
    // stylesheet that contradict automatic sizes.
    void applyStyle() override;

protected:
    std::optional<bool> stacksHorizontally() const override { return isHorizontal(); }

private:
    void fitLength();
    void sizeFlexibleChild();
    void reportContradictions();

    std::uint32_t direction_ = TopToBottom;
    std::int32_t spacing_ = 0;
    std::int32_t flexibleChild_ = -1;
    tBreadthFunction breadthFunction_;
    bool autoLength_ = false;
    PanelDrawer drawer_;
};

} // namespace Trellis
