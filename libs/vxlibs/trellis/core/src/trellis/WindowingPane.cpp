#include "trellis/WindowingPane.h"

#include <casement/WindowEvents.h>

namespace Trellis {
namespace {

// The first code after the window layer's drag-and-drop codes 1300 to 1399.
constexpr std::uint32_t DragAndDropEnd = 1400;

} // namespace

bool WindowingPane::handleEvent(std::uint32_t code, const void* data)
{
    switch (code) {
    case Casement::CaptureLost:
        dropPointer();
        return true;
    case Casement::FocusLost:
        setKeyboardFocus(false);
        return true;
    case Casement::FocusGained:
        setKeyboardFocus(true);
        return true;
    default:
        break;
    }
    // The window layer's drag-and-drop codes; those without a meaning here
    // reach nothing.
    if (code >= Casement::DragEnter && code < DragAndDropEnd) {
        if (code <= Casement::Drop && data != nullptr) {
            dispatchDrag(code, *static_cast<const Casement::tDragEvent*>(data));
        }
        return true;
    }
    return Pane::handleEvent(code, data);
}

} // namespace Trellis
