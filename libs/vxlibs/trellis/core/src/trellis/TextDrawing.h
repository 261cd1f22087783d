#pragma once

#include <casement/Geometry.h>

#include <cstdint>
#include <string_view>

namespace Trellis {

class PanelDrawer;
class Widget;
struct PaintContext;

// Draws text in the widget's foreground colour (read through the drawer, so
// with its palette entry) and font, in `box` (widget coordinates) moved by
// the style's text displacement, clipped to each part of the region. A
// foreground colour of "no" or a style without a font draws nothing.
void drawWidgetText(const Widget& widget, const PanelDrawer& drawer, std::string_view text, Casement::Rect box,
                    std::uint32_t alignment, PaintContext& context);

// The alignment word of the widget's style (left and vertically centred
// when the style gives none).
std::uint32_t styleAlignment(const Widget& widget);

// Device pixels of text measured at `scale` in layout pixels, rounded to
// nearest (halves away from zero).
std::int32_t toLayoutPixels(std::int64_t device, float scale);

} // namespace Trellis
