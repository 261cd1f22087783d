// Drag and drop through the Pane: each drag event goes to the widget under
// the pointer.
#include "trellis/Pane.h"
#include "trellis/Widget.h"

namespace Trellis {

// The widget is kept alive while its handlers run, which may remove it.
bool Pane::dispatchDrag(std::uint32_t code, const Casement::tDragEvent& event)
{
    Widget* hit = event.data ? hitTest(event.x, event.y) : nullptr;
    if (!hit) {
        return false;
    }
    const auto keepAlive = hit->weak_from_this().lock();
    const Casement::Point origin = hit->absolutePosition();
    Casement::tDragEvent relative = event;
    relative.x -= origin.x;
    relative.y -= origin.y;
    const bool taken = hit->dispatchDragEvent(code, relative);
    hit->dispatchDragNotification(code, relative);
    return taken;
}

} // namespace Trellis
