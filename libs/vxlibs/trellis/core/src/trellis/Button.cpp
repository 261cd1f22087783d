#include "trellis/Button.h"

#include "trellis/WidgetEvents.h"

#include <casement/WindowEvents.h>

namespace Trellis {
namespace {

constexpr std::uint32_t First = Casement::tMouseButtonEvent::Left;
constexpr std::uint32_t Second = Casement::tMouseButtonEvent::Right;

} // namespace

Button& Button::init(std::string_view text, const char* style)
{
    setHoverSensitive(true);
    setPainter(paintPanelAndText);
    setStyle(style);
    setText(text);
    return *this;
}

void Button::onEvent(std::uint32_t code, const void* data)
{
    if (code == FocusEntered || code == FocusLeft) {
        focusChanged(code == FocusEntered);
        return;
    }
    if (code == PointerEntered || code == PointerLeft) {
        onPointer(code);
        return;
    }
    const auto& event = *static_cast<const tWidgetMouseEvent*>(data);
    onGesture(code, {event.kind, 1, doubleClick_}, {event.x, event.y});
}

void Button::onPointer(std::uint32_t code)
{
    if (code == PointerEntered) {
        entered();
        if (hoverDelay_ > 0) {
            hoverDelayPending_ = true;
            scheduleTick(hoverDelay_);
        }
        return;
    }
    left();
    doubleClick_ = false;
    if (hoverDelayPending_) {
        hoverDelayPending_ = false;
        scheduleTick(0);
    }
}

void Button::onGesture(std::uint32_t code, const ButtonImpl::tSignalData& data, Casement::Point position)
{
    switch (code) {
    case GesturePress + First:
        doubleClick_ = false;
        startRepeating(RepeatDelay);
        pressed(data, position);
        break;
    case GestureDoubleClick + First:
        doubleClick_ = true;
        startRepeating(RepeatDelay);
        pressed({data.kind, 1, 1}, position);
        (doubleClickReporting_ ? doubleClicked : clicked)({data.kind, 1, 1});
        break;
    case GestureRelease + First:
        scheduleTick(0);
        doubleClick_ = false;
        released();
        break;
    case GestureClick + First:
        scheduleTick(0);
        clicked(data);
        doubleClick_ = false;
        break;
    case GestureClick + Second:
        secondaryClicked(data);
        break;
    default:
        break;
    }
}

bool Button::onKey(std::uint32_t code, const void* data)
{
    if (code != Casement::KeyDown) {
        return false;
    }
    const auto& key = *static_cast<const Casement::tKeyEvent*>(data);
    const std::uint32_t character = key.keyCode & 0x1FFFF;
    const bool activation = character == ActivationKey || character == ReturnKey || character == SpaceKey;
    if (!activation || (key.keyCode & (Casement::ModifierControl | Casement::ModifierAlt)) != 0) {
        return false;
    }
    if (key.firstPress == 0) {
        return true;
    }
    const ButtonImpl::tSignalData signal{key.keyCode >> 24, 0, doubleClick_};
    if (keyMode_ == KeyClicks) {
        clicked(signal);
    } else if (keyMode_ == KeyDoubleClicks) {
        doubleClicked(signal);
    }
    return true;
}

void Button::onTick()
{
    if (hoverDelayPending_) {
        hoverDelayPending_ = false;
        hoverElapsed();
        return;
    }
    repeated();
    scheduleTick(RepeatInterval);
}

// A press ends the hover delay early.
void Button::startRepeating(std::int32_t periods)
{
    if (hoverDelayPending_) {
        hoverDelayPending_ = false;
        hoverElapsed();
    }
    scheduleTick(periods);
}

} // namespace Trellis
