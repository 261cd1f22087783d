// Mouse input of the Pane: hit-testing, hover, press and capture, clicks.
#include "trellis/Pane.h"
#include "trellis/Widget.h"
#include "trellis/WidgetEvents.h"

#include <casement/WindowEvents.h>

namespace Trellis {
namespace {

constexpr std::uint32_t Hittable = Widget::OwnVisible | Widget::EffectivelyVisible | Widget::Realised |
                                   Widget::OwnEnabled | Widget::EffectivelyEnabled;

bool contains(const Casement::Rect& rect, std::int32_t x, std::int32_t y)
{
    return x >= rect.x && y >= rect.y && x < rect.right() && y < rect.bottom();
}

// A disabled widget and its subtree let the point fall through to the
// enclosing widget.
Widget* hitWidget(Widget& widget, std::int32_t x, std::int32_t y)
{
    if (!widget.hasFlags(Hittable) || !contains(widget.clipRect(), x, y)) {
        return nullptr;
    }
    if (widget.interceptsHit(x, y)) {
        return &widget;
    }
    const auto& order = widget.zOrder();
    for (auto child = order.rbegin(); child != order.rend(); ++child) {
        if (Widget* hit = hitWidget(**child, x, y)) {
            return hit;
        }
    }
    return &widget;
}

// Sends a pointer event with the position made relative to the widget. The
// widget is kept alive while its handler runs, which may remove it.
void send(Widget& widget, std::uint32_t code, std::int32_t x, std::int32_t y, std::uint32_t modifiers,
          std::uint32_t button = 0, std::uint32_t kind = 0)
{
    const auto keepAlive = widget.weak_from_this().lock();
    const Casement::Point origin = widget.absolutePosition();
    const tWidgetMouseEvent event{x - origin.x, y - origin.y, modifiers, button, kind};
    widget.onEvent(code, &event);
}

} // namespace

Widget* Pane::hitTest(std::int32_t x, std::int32_t y) const
{
    for (auto layer = layers_.rbegin(); layer != layers_.rend(); ++layer) {
        if (Widget* hit = hitWidget(**layer, x, y)) {
            return hit;
        }
    }
    return root_ ? hitWidget(*root_, x, y) : nullptr;
}

bool Pane::clickAsIfPointed(Widget& widget)
{
    const Casement::Rect visible = widget.clipRect();
    if (widget.pane() != this || !buttonsHeld_.empty() || visible.empty()) {
        return false;
    }
    const std::int32_t x = visible.x + visible.width / 2;
    const std::int32_t y = visible.y + visible.height / 2;
    if (hitTest(x, y) != &widget) {
        return false;
    }
    const Casement::Point pointer = lastPointer_;
    const std::weak_ptr<Widget> hovered = hover_ ? hover_->weak_from_this() : std::weak_ptr<Widget>();
    for (const std::uint32_t kind : {Casement::tMouseButtonEvent::Press, Casement::tMouseButtonEvent::Release}) {
        onMouseButton({x, y, 0, Casement::tMouseButtonEvent::Left, kind});
    }
    lastPointer_ = pointer;
    const auto stillHovered = hovered.lock();
    setHover(stillHovered && stillHovered->pane() == this ? stillHovered.get() : nullptr);
    return true;
}

bool Pane::handleEvent(std::uint32_t code, const void* data)
{
    switch (code) {
    case Casement::MouseButton:
        onMouseButton(*static_cast<const Casement::tMouseButtonEvent*>(data));
        return true;
    case Casement::MouseDrag:
    case Casement::MouseMove:
    case Casement::MouseEnter:
        onMouseMove(*static_cast<const Casement::tMouseMoveEvent*>(data));
        return true;
    case Casement::MouseLeave:
        setHover(nullptr);
        return true;
    default:
        break;
    }
    if (code >= Casement::KeyDown && code < 1200) {
        dispatchKey(code, data);
        return true;
    }
    return code >= Casement::MouseButton && code < Casement::KeyDown;
}

void Pane::onMouseMove(const Casement::tMouseMoveEvent& event)
{
    lastPointer_ = {event.x, event.y};
    setHover(hitTest(event.x, event.y));
    if (Widget* pressed = pressed_) {
        const auto keepAlive = pressed->weak_from_this().lock();
        for (const int button : std::set<int>(buttonsHeld_)) {
            if (pressed->pane() == this) {
                send(*pressed, GestureDrag + button, event.x, event.y, event.modifiers, button);
            }
        }
    }
}

void Pane::onMouseButton(const Casement::tMouseButtonEvent& event)
{
    lastPointer_ = {event.x, event.y};
    Widget* hit = hitTest(event.x, event.y);
    const auto keepHit = hit ? hit->weak_from_this().lock() : nullptr;
    setHover(hit);
    if (event.kind == Casement::tMouseButtonEvent::Release) {
        onButtonReleased(event);
        return;
    }
    const bool doubleClick = event.kind == Casement::tMouseButtonEvent::DoubleClick;
    if (buttonsHeld_.empty()) {
        pressed_ = hit;
        pressWasDoubleClick_ = doubleClick;
        captureMouse();
    }
    buttonsHeld_.insert(static_cast<int>(event.button));
    if (hit && hit->pane() == this) {
        moveFocus(hit);
    }
    if (Widget* pressed = pressed_) {
        pressed->repaint();
        send(*pressed, (doubleClick ? GestureDoubleClick : GesturePress) + event.button, event.x, event.y,
             event.modifiers, event.button, event.kind);
    }
}

// The pressed widget has the pointer captured: it receives the release
// wherever the pointer is, and a click when the pointer is still over it.
void Pane::onButtonReleased(const Casement::tMouseButtonEvent& event)
{
    buttonsHeld_.erase(static_cast<int>(event.button));
    Widget* pressed = pressed_;
    if (buttonsHeld_.empty()) {
        pressed_ = nullptr;
        releaseMouse();
    }
    if (!pressed) {
        return;
    }
    const auto keepAlive = pressed->weak_from_this().lock();
    pressed->repaint();
    send(*pressed, GestureRelease + event.button, event.x, event.y, event.modifiers, event.button, event.kind);
    if (!pressWasDoubleClick_ && pressed->pane() == this && hitTest(event.x, event.y) == pressed) {
        send(*pressed, GestureClick + event.button, event.x, event.y, event.modifiers, event.button, event.kind);
    }
}

void Pane::setHover(Widget* widget)
{
    Widget* old = hover_;
    if (old == widget) {
        return;
    }
    hover_ = widget;
    const auto keepNew = widget ? widget->weak_from_this().lock() : nullptr;
    for (const auto& [changed, code] : {std::pair{old, PointerLeft}, std::pair{widget, PointerEntered}}) {
        if (!changed || changed->pane() != this) {
            continue;
        }
        if (changed->hasFlags(Widget::HoverSensitive) && changed->isEnabled()) {
            changed->repaint();
        }
        send(*changed, code, lastPointer_.x, lastPointer_.y, 0);
    }
}

void Pane::dropPointer()
{
    for (Widget* widget : {hover_, pressed_}) {
        if (widget) {
            widget->repaint();
        }
    }
    hover_ = pressed_ = nullptr;
    buttonsHeld_.clear();
}

} // namespace Trellis
