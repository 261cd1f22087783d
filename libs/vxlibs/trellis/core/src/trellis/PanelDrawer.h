#pragma once

#include "trellis/ComputedStyle.h"

#include <cstdint>

namespace Trellis {

struct PaintContext;
class Widget;

// Draws the look of a plain panel from the widget's computed style: the
// background colour and its border, the picture (one frame, stretched by its
// borders when it has them) and the dye mask. One drawer belongs to each
// Bar, Label and Button.
class PanelDrawer {
public:
    void drawPanel(const Widget& widget, PaintContext& context) const;
    // The colour of a slot for the drawer's palette entry; with `border`,
    // background colour means its border colour and any other slot the
    // foreground border colour.
    std::uint32_t colour(const Widget& widget, ComputedStyle::eColour slot, bool border) const;

private:
    void drawBackground(const Widget& widget, const ComputedStyle& style, PaintContext& context) const;
    void drawPicture(const Widget& widget, const ComputedStyle& style, PaintContext& context) const;
    void drawDyeMask(const Widget& widget, const ComputedStyle& style, PaintContext& context) const;

    // The palette entry the drawer's colours are read for; the updater's
    // stylesheet uses no palettes, and every drawer reads entry 0.
    std::int32_t paletteEntry_ = 0;
};

} // namespace Trellis
