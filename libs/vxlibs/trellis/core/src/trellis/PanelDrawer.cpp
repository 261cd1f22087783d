#include "trellis/PanelDrawer.h"

#include "trellis/Canvas.h"
#include "trellis/LazyPicture.h"
#include "trellis/ManagerContainer.h"
#include "trellis/PaintContext.h"
#include "trellis/Widget.h"

#include <casement/Picture.h>

namespace Trellis {
namespace {

// Where a picture goes: the widget's rectangle, or the part inside its
// margins, moved by the displacement.
Casement::Rect pictureTarget(const Widget& widget, const ComputedStyle& style)
{
    Casement::Rect target{0, 0, widget.width(), widget.height()};
    if (!readSlot(widget, style.pictureIncludesMargin)) {
        const tEdges& margins = widget.margins();
        target = {margins.left, margins.top, target.width - margins.left - margins.right,
                  target.height - margins.top - margins.bottom};
    }
    const Casement::Point displacement = readSlot(widget, style.pictureDisplacement);
    target.x += displacement.x;
    target.y += displacement.y;
    return target;
}

std::shared_ptr<const Casement::Picture> scaledPicture(const Widget& widget,
                                                       const ComputedStyle::tSlot<std::shared_ptr<LazyPicture>>& slot,
                                                       const PaintContext& context)
{
    const auto& lazy = readSlot(widget, slot);
    return lazy ? lazy->get(static_cast<float>(context.scale)) : nullptr;
}

} // namespace

void PanelDrawer::drawPanel(const Widget& widget, PaintContext& context) const
{
    auto* container = ManagerContainer::instance();
    const ComputedStyle* style = container ? container->computedStyle(widget) : nullptr;
    if (!style) {
        return;
    }
    drawBackground(widget, *style, context);
    drawPicture(widget, *style, context);
    drawDyeMask(widget, *style, context);
}

std::uint32_t PanelDrawer::colour(const Widget& widget, ComputedStyle::eColour slot, bool border) const
{
    if (border) {
        slot = slot == ComputedStyle::BackgroundColour ? ComputedStyle::BackgroundBorderColour
                                                       : ComputedStyle::ForegroundBorderColour;
    }
    auto* container = ManagerContainer::instance();
    const ComputedStyle* style = container ? container->computedStyle(widget) : nullptr;
    return style ? readPaletteColour(widget, *style, slot, paletteEntry_) : 0;
}

void PanelDrawer::drawBackground(const Widget& widget, const ComputedStyle& style, PaintContext& context) const
{
    const std::uint32_t fill = readPaletteColour(widget, style, ComputedStyle::BackgroundColour, paletteEntry_);
    const std::uint32_t border = colour(widget, ComputedStyle::BackgroundColour, true);
    if ((fill >> 24) == 0 && (border >> 24) == 0) {
        return;
    }
    const Casement::Rect rect{0, 0, widget.width(), widget.height()};
    context.forEachClip(widget, [&](const Casement::Rect& clip) {
        context.canvas.setClip(clip);
        context.canvas.fillRect(rect, fill);
        context.canvas.drawRectOutline(rect, border);
    });
}

void PanelDrawer::drawPicture(const Widget& widget, const ComputedStyle& style, PaintContext& context) const
{
    const auto picture = scaledPicture(widget, style.picture, context);
    if (!picture) {
        return;
    }
    const Casement::Rect target = pictureTarget(widget, style);
    const auto frame = static_cast<std::uint32_t>(std::max(readSlot(widget, style.animationIndex), 0));
    const bool stretched = picture->verticallyStretchable() || picture->horizontallyStretchable();
    const auto mode = Casement::eDrawMode::CopySource;
    context.forEachClip(widget, [&](const Casement::Rect& clip) {
        context.canvas.setClip(clip);
        if (stretched) {
            context.canvas.drawStretchedPicture(target, *picture, frame, mode);
        } else {
            context.canvas.drawPicture(target, *picture, frame, mode);
        }
    });
}

void PanelDrawer::drawDyeMask(const Widget& widget, const ComputedStyle& style, PaintContext& context) const
{
    const auto mask = scaledPicture(widget, style.dyeMask, context);
    if (!mask) {
        return;
    }
    const Casement::Rect target = pictureTarget(widget, style);
    const auto frame = static_cast<std::uint32_t>(std::max(readSlot(widget, style.dyeMaskAnimationIndex), 0));
    const std::uint32_t dye = readPaletteColour(widget, style, ComputedStyle::DyeColour, paletteEntry_);
    context.forEachClip(widget, [&](const Casement::Rect& clip) {
        context.canvas.setClip(clip);
        context.canvas.drawDyedPicture(target, dye, *mask, frame);
    });
}

} // namespace Trellis
