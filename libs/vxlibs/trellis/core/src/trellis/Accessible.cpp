// How widgets read to a screen reader: the accessibility members of Widget
// and the description and published children the accessibility layer sends.
#include "trellis/Accessible.h"

#include "trellis/Pane.h"
#include "trellis/Widget.h"

namespace Trellis {
namespace {

bool isNamedByText(eAccessibleRole role)
{
    switch (role) {
    case eAccessibleRole::PushButton:
    case eAccessibleRole::Label:
    case eAccessibleRole::Dialog:
    case eAccessibleRole::Alert: return true;
    default: return false;
    }
}

bool showsText(eAccessibleRole role)
{
    return role == eAccessibleRole::Label || role == eAccessibleRole::Text;
}

// Own flags are read, so that what a handler has just shown or hidden counts
// before the next update pass.
bool isShownInTree(const Widget& widget)
{
    for (const Widget* node = &widget; node; node = node->parent()) {
        if (!node->hasFlags(Widget::OwnVisible)) {
            return false;
        }
    }
    return widget.pane() != nullptr;
}

bool isEnabledInTree(const Widget& widget)
{
    for (const Widget* node = &widget; node; node = node->parent()) {
        if (!node->hasFlags(Widget::OwnEnabled)) {
            return false;
        }
    }
    return true;
}

std::uint32_t accessibleStates(const Widget& widget, eAccessibleRole role)
{
    std::uint32_t states = 0;
    if (isShownInTree(widget)) {
        states |= AccessibleShowing;
    }
    if (role != eAccessibleRole::PushButton || isEnabledInTree(widget)) {
        states |= AccessibleEnabled;
    }
    if (widget.hasFlags(Widget::Focusable)) {
        states |= AccessibleFocusable;
    }
    if (const Pane* pane = widget.pane()) {
        if (pane->focusWidget() == &widget && pane->hasKeyboardFocus()) {
            states |= AccessibleFocused;
        }
        if (pane->focusScope() == &widget) {
            states |= AccessibleModal;
        }
    }
    if (role == eAccessibleRole::Text) {
        states |= AccessibleMultiLine;
    }
    return states;
}

void collectChildren(const Widget& widget, std::vector<Widget*>& into)
{
    for (const auto& child : widget.children()) {
        if (!child->hasFlags(Widget::OwnVisible)) {
            continue;
        }
        if (isAccessible(*child)) {
            into.push_back(child.get());
        } else {
            collectChildren(*child, into);
        }
    }
}

void collectTop(Widget& top, std::vector<Widget*>& into)
{
    if (!top.hasFlags(Widget::OwnVisible)) {
        return;
    }
    if (isAccessible(top)) {
        into.push_back(&top);
    } else {
        collectChildren(top, into);
    }
}

} // namespace

eAccessibleRole Widget::accessibleRole() const
{
    return accessibleRole_.value_or(classAccessibleRole());
}

void Widget::setAccessibleRole(eAccessibleRole role)
{
    if (accessibleRole() != role) {
        accessibleRole_ = role;
        accessibilityChanged();
    }
}

void Widget::setAccessibleName(std::string_view name)
{
    if (name != accessibleName_) {
        accessibleName_.assign(name);
        accessibilityChanged();
    }
}

void Widget::setAccessibleDescription(std::string_view description)
{
    if (description != accessibleDescription_) {
        accessibleDescription_.assign(description);
        accessibilityChanged();
    }
}

void Widget::accessibilityChanged()
{
    if (pane_) {
        pane_->raiseDirty(Pane::RepaintOnly);
    }
}

tAccessibleDescription describeAccessible(const Widget& widget)
{
    tAccessibleDescription description;
    description.role = widget.accessibleRole();
    description.name = widget.accessibleName();
    if (description.name.empty() && isNamedByText(description.role)) {
        description.name = widget.shownText();
    }
    description.description = widget.accessibleDescription();
    if (showsText(description.role)) {
        description.text = widget.shownText();
    }
    description.states = accessibleStates(widget, description.role);
    return description;
}

bool isAccessible(const Widget& widget)
{
    const eAccessibleRole role = widget.accessibleRole();
    if (role == eAccessibleRole::Ignored) {
        return false;
    }
    return role != eAccessibleRole::Label || !widget.accessibleName().empty() || !widget.shownText().empty();
}

std::vector<Widget*> accessibleChildren(const Widget& widget)
{
    std::vector<Widget*> children;
    collectChildren(widget, children);
    return children;
}

std::vector<Widget*> accessibleTops(const Pane& pane)
{
    std::vector<Widget*> tops;
    if (Widget* scope = pane.focusScope(); scope && isShownInTree(*scope) && isAccessible(*scope)) {
        tops.push_back(scope);
        return tops;
    }
    if (Widget* root = pane.root()) {
        collectTop(*root, tops);
    }
    for (const auto& layer : pane.layers()) {
        collectTop(*layer, tops);
    }
    return tops;
}

} // namespace Trellis
