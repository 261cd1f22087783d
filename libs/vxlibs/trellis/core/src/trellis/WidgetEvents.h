#pragma once

#include <cstdint>

namespace Trellis {

// The events a Pane sends to widgets through Widget::onEvent(). The gesture
// codes add the window layer's button number b (1 left, 2 right, 4 middle):
// a press is 100001 + b, so the left button's press is 100002.
enum eWidgetEvent : std::uint32_t {
    PointerEntered = 1004,
    PointerLeft = 1005,
    GesturePress = 100001,
    GestureRelease = 100007,
    GestureClick = 100013,
    GestureDoubleClick = 100019,
    GestureDrag = 100025,
    // The widget became, or stopped being, its Pane's focus widget (no payload).
    FocusEntered = 100031,
    FocusLeft = 100032,
};

// The payload of every pointer event: the position relative to the widget's
// top-left corner, the modifier word, and the button and kind of the window
// layer's event (0 for moves).
struct tWidgetMouseEvent {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::uint32_t modifiers = 0;
    std::uint32_t button = 0;
    std::uint32_t kind = 0;
};

} // namespace Trellis
