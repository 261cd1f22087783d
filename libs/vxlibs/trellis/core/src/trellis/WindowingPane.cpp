#include "trellis/WindowingPane.h"

#include <casement/WindowEvents.h>

namespace Trellis {

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
        return Pane::handleEvent(code, data);
    }
}

} // namespace Trellis
