#include "trellis/TextDrawing.h"

#include "trellis/Canvas.h"
#include "trellis/ComputedStyle.h"
#include "trellis/ManagerContainer.h"
#include "trellis/PaintContext.h"
#include "trellis/PanelDrawer.h"

#include <casement/Font.h>

#include <cmath>

namespace Trellis {

void drawWidgetText(const Widget& widget, const PanelDrawer& drawer, std::string_view text, Casement::Rect box,
                    std::uint32_t alignment, PaintContext& context)
{
    auto* container = ManagerContainer::instance();
    const ComputedStyle* style = container ? container->computedStyle(widget) : nullptr;
    const std::uint32_t colour = drawer.colour(widget, ComputedStyle::ForegroundColour, false);
    if (!style || text.empty() || (colour >> 24) == 0) {
        return;
    }
    const auto font = readScaledFont(widget, *style);
    if (!font) {
        return;
    }
    const Casement::Point displacement = readSlot(widget, style->textDisplacement);
    box.x += displacement.x;
    box.y += displacement.y;
    context.forEachClip(widget, [&](const Casement::Rect& clip) {
        context.canvas.setClip(clip);
        context.canvas.drawText(text, box, *font, colour, alignment, 0);
    });
}

std::uint32_t styleAlignment(const Widget& widget)
{
    auto* container = ManagerContainer::instance();
    const ComputedStyle* style = container ? container->computedStyle(widget) : nullptr;
    return style ? readAlignment(widget, *style) : std::uint32_t{Casement::Font::Left};
}

std::int32_t toLayoutPixels(std::int64_t device, float scale)
{
    return static_cast<std::int32_t>(std::llround(static_cast<double>(device) / scale));
}

} // namespace Trellis
