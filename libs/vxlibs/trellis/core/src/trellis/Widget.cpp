#include "trellis/Widget.h"

#include "trellis/ManagerContainer.h"
#include "trellis/Pane.h"
#include "trellis/StyleManager.h"

#include <algorithm>

namespace Trellis {
namespace {

const PooledName GetClass("getClass");
const PooledName GetStyle("getStyle");
const PooledName GetId("getId");
const PooledName IsHorizontal("isHorizontal");

void forgetMatches(Widget& widget)
{
    if (auto* container = ManagerContainer::instance()) {
        if (auto* manager = container->styleManagerFor(widget)) {
            manager->forgetWidget(widget);
        }
    }
}

// Whether `widget` is `subtree` or lies below it: such a widget cannot take
// the subtree as a child without making a cycle.
bool isWithin(const Widget& widget, const Widget& subtree)
{
    for (const Widget* node = &widget; node; node = node->parent()) {
        if (node == &subtree) {
            return true;
        }
    }
    return false;
}

} // namespace

// The computed style and the cached matches are keyed by the widget's
// address, which another widget may take next. Children that other handles
// keep alive are left without parent and Pane.
Widget::~Widget()
{
    if (auto* container = ManagerContainer::instance()) {
        container->widgetDestroyed(*this);
    }
    if (pane_) {
        pane_->forgetWidget(*this);
    }
    for (const auto& child : children_) {
        child->parent_ = nullptr;
        child->attachToPane(nullptr);
    }
}

void Widget::addChild(std::shared_ptr<Widget> child, const PooledName& id)
{
    if (!child || isWithin(*this, *child)) {
        return;
    }
    child->id_ = id;
    child->detachFromParent();
    child->parent_ = this;
    child->attachToPane(pane_);
    child->markSubtreeStyleOutOfDate();
    children_.push_back(std::move(child));
    zOrder_.clear();
    // The child is appended first so that forgetting this widget's subtree
    // also forgets the child's matches, which depend on its new ancestors.
    forgetMatches(*this);
    invalidate();
}

void Widget::removeChild(Widget& child)
{
    if (child.parent_ != this) {
        return;
    }
    child.recordPlaceInParent();
    const auto keepAlive = child.shared_from_this();
    child.detachFromParent();
    child.attachToPane(nullptr);
    invalidate();
}

void Widget::setStyle(const char* name)
{
    if (name) {
        style_ = PooledName(name);
    }
    minimum_ = {UnstyledSize, UnstyledSize};
    setSize(UnstyledSize, UnstyledSize);
    markSubtreeStyleOutOfDate();
    forgetMatches(*this);
    invalidate();
}

void Widget::setAttribute(std::string_view name, const std::string& value)
{
    auto [entry, added] = attributes_.try_emplace(PooledName(name), value);
    if (!added) {
        if (entry->second == value) {
            return;
        }
        entry->second = value;
    }
    // Selectors of widgets below may test this attribute on an ancestor step.
    markSubtreeStyleOutOfDate();
    invalidate();
}

const std::string* Widget::attribute(const PooledName& name) const
{
    const auto found = attributes_.find(name);
    return found != attributes_.end() ? &found->second : nullptr;
}

AttibuteSelector::tValue Widget::builtInAttribute(const PooledName& name) const
{
    if (name == GetClass) {
        return std::string(getClass());
    }
    if (name == GetStyle) {
        return style_.str();
    }
    if (name == GetId) {
        return id_.str();
    }
    if (name == IsHorizontal) {
        if (const auto horizontal = stacksHorizontally()) {
            return *horizontal;
        }
    }
    return AttibuteSelector::tDoesntExist{};
}

// "enabled" holds when the widget and all its ancestors are enabled; reading
// the own bits up the tree gives the answer before any update pass has
// brought the effective bits up to date.
bool Widget::isInState(eState state) const
{
    switch (state) {
    case StateEnabled:
        for (const Widget* widget = this; widget; widget = widget->parent_) {
            if ((widget->flags_ & OwnEnabled) == 0) {
                return false;
            }
        }
        return true;
    case StateSelected:
        return (flags_ & Selected) != 0;
    case StateDown:
        return pane_ && pane_->pressedWidget() == this && pane_->isMouseButtonHeld();
    case StateOver:
        return pane_ && pane_->hoverWidget() == this;
    case StateFocus:
        return pane_ && pane_->focusWidget() == this;
    case StateInput:
        return pane_ && pane_->inputWidget() == this;
    case StateDormant:
        return isDormant();
    case StateCount:
        break;
    }
    return false;
}

void Widget::attachToPane(Pane* pane)
{
    if (pane_ != pane && pane_) {
        if (auto* container = ManagerContainer::instance()) {
            if (auto* manager = container->styleManagerFor(*this)) {
                manager->dropWidget(*this);
            }
        }
        pane_->forgetWidget(*this);
    }
    if (pane_ != pane && pane) {
        // What was asked before the widget reached this Pane is its to do.
        pane->raiseDirty(Pane::RelayoutAndRepaint);
    }
    pane_ = pane;
    for (const auto& child : children_) {
        child->attachToPane(pane);
    }
}

void Widget::detachFromParent()
{
    if (!parent_) {
        return;
    }
    auto& siblings = parent_->children_;
    const auto self = std::find_if(siblings.begin(), siblings.end(),
                                   [this](const std::shared_ptr<Widget>& sibling) { return sibling.get() == this; });
    if (self != siblings.end()) {
        // The caller holds a handle of its own, so erasing ours keeps the widget alive.
        siblings.erase(self);
    }
    parent_->zOrder_.clear();
    parent_ = nullptr;
    if (flags_ & Attached) {
        detachForUpdate();
    }
}

void Widget::markSubtreeStyleOutOfDate()
{
    setFlag(StyleOutOfDate, true);
    for (const auto& child : children_) {
        child->markSubtreeStyleOutOfDate();
    }
}

} // namespace Trellis
