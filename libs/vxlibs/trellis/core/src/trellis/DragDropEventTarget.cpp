#include "trellis/DragDropEventTarget.h"

namespace Trellis {

// The handlers run from copies: one may replace the callback or add a
// listener while it runs.
bool DragDropEventTarget::onDragEvent(std::uint32_t code, const Casement::tDragEvent& event)
{
    if (!dropCallback_ || code == Casement::DragLeave) {
        return false;
    }
    if (code == Casement::Drop) {
        const tDropHandler callback = dropCallback_;
        callback(*event.data);
    }
    return true;
}

void DragDropEventTarget::onDragNotification(std::uint32_t code, const Casement::tDragEvent& event)
{
    if (code != Casement::Drop) {
        return;
    }
    for (const tDropHandler& listener : std::vector<tDropHandler>(dropListeners_)) {
        listener(*event.data);
    }
}

} // namespace Trellis
