// Painting the Pane's repaint region into a canvas.
#include "trellis/Canvas.h"
#include "trellis/PaintContext.h"
#include "trellis/Pane.h"
#include "trellis/Widget.h"

#include <algorithm>

namespace Trellis {
namespace {

bool meets(const Casement::Rect& rect, const std::vector<Casement::Rect>& region)
{
    return std::any_of(region.begin(), region.end(),
                       [&rect](const Casement::Rect& each) { return !Casement::intersect(rect, each).empty(); });
}

void paintWidget(Widget& widget, PaintContext& context, std::uint32_t pass)
{
    context.pass = pass;
    context.canvas.setOrigin(widget.absolutePosition());
    widget.paint(context);
    context.canvas.resetClip();
    context.canvas.resetOrigin();
}

} // namespace

void Pane::paint(const std::vector<Casement::Rect>& region, Canvas& canvas, std::uint32_t trees)
{
    canvas.resetClip();
    canvas.resetOrigin();
    if ((trees & RootTree) && root_) {
        for (const Casement::Rect& rect : region) {
            canvas.clearRect(Casement::intersect(rect, root_->clipRect()), 0);
        }
    }
    scale_ = static_cast<float>(canvas.getScale());
    PaintContext context{canvas, region, canvas.getScale()};
    if ((trees & RootTree) && root_ && meets(root_->clipRect(), region)) {
        paintTree(*root_, context);
    }
    if (trees & LayerTrees) {
        for (std::size_t i = 0; i < layers_.size(); ++i) {
            const auto layer = layers_[i];
            if (meets(layer->clipRect(), region)) {
                paintTree(*layer, context);
            }
        }
    }
}

// By default a widget lies under its children; with "draw_foreground" it is
// painted after them, over them.
void Pane::paintTree(Widget& widget, PaintContext& context)
{
    if (widget.clipRect().empty() || !widget.isShown() || !widget.hasFlags(Widget::Realised)) {
        return;
    }
    const bool foreground = widget.hasFlags(Widget::DrawForegroundTrue);
    if (!foreground) {
        paintWidget(widget, context, PaintContext::BeforeChildren);
    }
    for (Widget* child : widget.zOrder()) {
        if (meets(child->clipRect(), context.region)) {
            paintTree(*child, context);
        }
    }
    if (foreground) {
        paintWidget(widget, context, PaintContext::AfterChildren);
    }
}

} // namespace Trellis
