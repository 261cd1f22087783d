#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Trellis {

class Pane;
class Widget;

// What a widget is to a screen reader. An ignored widget is not published;
// its accessible descendants take its place under its accessible ancestor.
enum class eAccessibleRole : std::uint8_t {
    Ignored,
    Panel,
    Label,
    Text,
    PushButton,
    Dialog,
    Alert,
};

// The states a screen reader is told, as bits.
enum eAccessibleState : std::uint32_t {
    AccessibleShowing = 0x1,
    AccessibleEnabled = 0x2,
    AccessibleFocusable = 0x4,
    AccessibleFocused = 0x8,
    AccessibleMultiLine = 0x10,
    AccessibleModal = 0x20,
};

// How one widget reads to a screen reader now: its role, its name, its
// description, the text it shows (labels and texts only) and its states.
struct tAccessibleDescription {
    eAccessibleRole role = eAccessibleRole::Ignored;
    std::string name;
    std::string description;
    std::string text;
    std::uint32_t states = 0;
    bool operator==(const tAccessibleDescription&) const = default;
};

// The widget as a screen reader reads it. A name set on the widget wins;
// otherwise buttons, labels, dialogs and alerts are named by the text they
// show. Showing: the widget and all its ancestors are visible and it is in a
// Pane. Static content is always enabled (the toolkit disables labels only
// so that clicks fall through them); a button is enabled when it and its
// ancestors are. Focused: the Pane's focus widget while the window has the
// keyboard. Modal: the widget is the Pane's focus scope.
tAccessibleDescription describeAccessible(const Widget& widget);

// Whether the widget is published: it has a role, and a label has a name or
// a text (an empty label is decoration).
bool isAccessible(const Widget& widget);

// The published children of a widget: its shown descendants that are
// accessible, each in place of the ignored widgets above it, in tree order.
std::vector<Widget*> accessibleChildren(const Widget& widget);

// The published widgets at the top of a Pane: those of its root (or the
// root itself) and then those of its layers; while a part of the tree holds
// the keyboard (the Pane's focus scope, such as a modal cover), that part
// alone, since what it covers cannot be used.
std::vector<Widget*> accessibleTops(const Pane& pane);

} // namespace Trellis
