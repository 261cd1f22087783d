#pragma once

#include "casement/Geometry.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Casement {

class StandaloneWindow;

// The numbered events a window sends to its handler, with their payloads.
// Input positions are logical (device pixels divided by the exact scale,
// rounded to nearest) unless said otherwise.
enum eWindowEvent : std::uint32_t {
    MouseButton = 1000,          // tMouseButtonEvent
    MouseDrag = 1001,            // tMouseMoveEvent: moved with a button held
    MouseMove = 1002,            // tMouseMoveEvent: moved with no button held
    MouseWheel = 1003,           // tMouseWheelEvent
    MouseEnter = 1004,           // tMouseMoveEvent: first move after entering
    MouseLeave = 1005,           // tMouseMoveEvent, travel not added
    KeyDown = 1100,              // tKeyEvent
    KeyUp = 1101,                // tKeyEvent
    TextInput = 1102,            // tTextEvent
    ModifiersChanged = 1103,     // tModifierEvent
    DeadKey = 1104,              // tTextEvent (never sent on this platform, see KeyTranslation.h)
    DragEnter = 1300,            // tDragEvent: something is dragged into the window
    DragMove = 1301,             // tDragEvent: the drag moved over the window
    DragLeave = 1302,            // tDragEvent: the drag left without a drop
    Drop = 1303,                 // tDragEvent: it was dropped; the drag is over
    WindowCreated = 1000000,     // no payload
    WindowDestroyed = 1000001,   // no payload
    Repaint = 1000002,           // tPaintContext
    SizeChanged = 1000003,       // std::int32_t: 0 normal, 1 maximised, 2 minimised
    RaisedToTop = 1000004,       // no payload
    Activated = 1000005,         // no payload
    Deactivated = 1000006,       // no payload
    CaptureLost = 1000007,       // no payload
    FocusGained = 1000008,       // no payload
    FocusLost = 1000009,         // no payload
    SizeLimits = 1000010,        // tSizeLimits
    CloseRequested = 1000012,    // std::uint8_t, 1; the handler sets 0 to refuse
    DensityChanged = 1000015,    // float: the new backing scale
};

// Modifier bits sent with every input event.
enum eModifier : std::uint32_t {
    ModifierShift = 0x10000000,
    ModifierControl = 0x20000000,
    ModifierAlt = 0x40000000,
    ModifierCapsLock = 0x02000000,
    ModifierSuper = 0x01000000,  // only together with one of the bits above
    ModifierKeypad = 0x00800000, // key events from the numeric keypad only
};

struct tMouseButtonEvent {
    enum eButton : std::uint32_t { Left = 1, Right = 2, Middle = 4 };
    enum eKind : std::uint32_t { Press = 1, Release = 2, DoubleClick = 3 };

    std::int32_t x = 0;
    std::int32_t y = 0;
    std::uint32_t modifiers = 0;
    std::uint32_t button = 0;
    std::uint32_t kind = 0;
};

// Logical position plus the accumulated pointer travel.
struct tMouseMoveEvent {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::uint32_t modifiers = 0;
};

// Client position in device pixels; 120 per notch; `noShift` 1 when Shift is not held.
struct tMouseWheelEvent {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::uint32_t modifiers = 0;
    std::int32_t delta = 0;
    std::int32_t noShift = 0;
};

// `keyCode` is the key's unmodified character, upper-cased (0 for keys without
// one), or-ed with the modifier word; `firstPress` is 0 for auto-repeats.
struct tKeyEvent {
    std::uint32_t keyCode = 0;
    std::uint32_t keyId = 0;
    std::uint32_t firstPress = 0;
};

// UTF-8 text, zero-terminated.
struct tTextEvent {
    const char* text = nullptr;
};

struct tModifierEvent {
    std::uint32_t modifiers = 0;
    std::uint32_t unused = 0;
};

// What a drag carries: the paths of dragged files and dragged texts, each in
// the order the platform gave them.
struct tDropData {
    std::vector<std::string> files;
    std::vector<std::string> texts;
    bool operator==(const tDropData&) const = default;
};

// The pointer position of a drag and what it carries (never null).
struct tDragEvent {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::uint32_t modifiers = 0;
    const tDropData* data = nullptr;
};

// Filled in by the handler, in logical units.
struct tSizeLimits {
    enum eFlags : std::uint32_t { MinimumGiven = 1, MaximumGiven = 2 };

    std::uint32_t flags = 0;
    std::int32_t minWidth = 0;
    std::int32_t minHeight = 0;
    std::int32_t maxWidth = 0;
    std::int32_t maxHeight = 0;
};

// The window to present to (StandaloneWindow::present), the area to repaint in
// device pixels and the scales the buffer is drawn at.
struct tPaintContext {
    StandaloneWindow* device = nullptr;
    Rect dirty;
    std::int32_t backingScale = 1;
    double exactScale = 1.0;
};

} // namespace Casement
