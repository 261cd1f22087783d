#pragma once

#include "trellis/Widget.h"

#include <casement/Geometry.h>

#include <cstdint>
#include <vector>

namespace Trellis {

class Canvas;

// What a widget's paint() is given: the canvas (its origin at the widget's
// top-left corner), the region being repainted in Pane coordinates, the
// scale, and the pass (BeforeChildren, or AfterChildren for a widget that
// draws its foreground over its children).
struct PaintContext {
    enum ePass : std::uint32_t { BeforeChildren = 1, AfterChildren = 2 };

    Canvas& canvas;
    const std::vector<Casement::Rect>& region;
    std::int32_t scale = 1;
    std::uint32_t pass = BeforeChildren;

    // Calls draw(clip) for every part of the region inside the widget's
    // clip rectangle, in the widget's coordinates.
    template <typename F>
    void forEachClip(const Widget& widget, F&& draw) const
    {
        const Casement::Point origin = widget.absolutePosition();
        for (const Casement::Rect& rect : region) {
            Casement::Rect clip = Casement::intersect(rect, widget.clipRect());
            if (!clip.empty()) {
                clip.x -= origin.x;
                clip.y -= origin.y;
                draw(clip);
            }
        }
    }
};

} // namespace Trellis
