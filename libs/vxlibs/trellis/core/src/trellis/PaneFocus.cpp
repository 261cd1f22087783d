// Keyboard input of the Pane: the focus widget, moving it with the mouse and
// with Tab, and offering keys to the widgets.
#include "trellis/Pane.h"
#include "trellis/Widget.h"
#include "trellis/WidgetEvents.h"

#include <casement/WindowEvents.h>

#include <algorithm>
#include <utility>

namespace Trellis {
namespace {

constexpr std::uint32_t TabKey = '\t';
constexpr std::uint32_t KeyCharacter = 0x1FFFF;

// The focusable widgets of a subtree in tree order; a hidden or disabled
// widget hides its subtree too. Own flags are read, so that what a handler
// has just shown or hidden counts before the next update pass.
void collectFocusable(Widget& widget, std::vector<Widget*>& into)
{
    if (!widget.hasFlags(Widget::OwnVisible | Widget::OwnEnabled)) {
        return;
    }
    if (widget.hasFlags(Widget::Focusable)) {
        into.push_back(&widget);
    }
    for (const auto& child : widget.children()) {
        collectFocusable(*child, into);
    }
}

} // namespace

// The nearest focusable widget at or above the pressed one takes the focus.
void Pane::moveFocus(Widget* pressed)
{
    Widget* focusable = pressed;
    while (focusable && !focusable->hasFlags(Widget::Focusable)) {
        focusable = focusable->parent();
    }
    if (focusable) {
        setFocus(focusable);
    }
}

void Pane::setFocus(Widget* widget)
{
    Widget* old = focus_;
    if (old == widget) {
        return;
    }
    previousFocus_ = old;
    focus_ = widget;
    const auto keepOld = old ? old->weak_from_this().lock() : nullptr;
    const auto keepNew = widget ? widget->weak_from_this().lock() : nullptr;
    for (const auto& [changed, code] : {std::pair{old, FocusLeft}, std::pair{widget, FocusEntered}}) {
        if (changed && changed->pane() == this) {
            changed->repaint();
            changed->onEvent(code, nullptr);
        }
    }
}

bool Pane::moveFocusInOrder(bool backward)
{
    std::vector<Widget*> order;
    if (focusScope_) {
        collectFocusable(*focusScope_, order);
    } else {
        if (root_) {
            collectFocusable(*root_, order);
        }
        for (const auto& layer : layers_) {
            collectFocusable(*layer, order);
        }
    }
    if (order.empty()) {
        return false;
    }
    const auto count = static_cast<std::ptrdiff_t>(order.size());
    const auto current = std::find(order.begin(), order.end(), focus_) - order.begin();
    std::ptrdiff_t next = 0;
    if (current == count) {
        next = backward ? count - 1 : 0;
    } else {
        next = (current + (backward ? count - 1 : 1)) % count;
    }
    setFocus(order[static_cast<std::size_t>(next)]);
    return true;
}

bool Pane::dispatchKey(std::uint32_t code, const void* data)
{
    const auto offer = [code, data](Widget* from, std::uint32_t flag) {
        for (Widget* widget = from; widget; widget = widget->parent()) {
            if (widget->hasFlags(flag) && widget->isEnabled()) {
                const auto keepAlive = widget->weak_from_this().lock();
                if (widget->onKey(code, data)) {
                    return true;
                }
            }
        }
        return false;
    };
    if (offer(input_, Widget::KeyTarget) || (keyboardFocus_ && offer(focus_, Widget::Focusable))) {
        return true;
    }
    if (code != Casement::KeyDown || !keyboardFocus_) {
        return false;
    }
    const std::uint32_t word = static_cast<const Casement::tKeyEvent*>(data)->keyCode;
    const bool plainOrShifted = (word & (Casement::ModifierControl | Casement::ModifierAlt)) == 0;
    return plainOrShifted && (word & KeyCharacter) == TabKey && moveFocusInOrder((word & Casement::ModifierShift) != 0);
}

} // namespace Trellis
