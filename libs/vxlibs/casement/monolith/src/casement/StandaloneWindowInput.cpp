#include "casement/KeyTranslation.h"
#include "casement/StandaloneWindowOSImpl.h"
#include "casement/WindowEvents.h"

#include <cmath>
#include <utility>

namespace Casement {
namespace {

std::uint32_t buttonOf(Uint8 sdlButton)
{
    switch (sdlButton) {
    case SDL_BUTTON_LEFT: return tMouseButtonEvent::Left;
    case SDL_BUTTON_RIGHT: return tMouseButtonEvent::Right;
    case SDL_BUTTON_MIDDLE: return tMouseButtonEvent::Middle;
    default: return 0;
    }
}

} // namespace

std::int32_t StandaloneWindow::OSImpl::toDevice(float windowUnits) const
{
    return static_cast<std::int32_t>(std::lround(windowUnits * pixelRatio_));
}

Point StandaloneWindow::OSImpl::toLogical(std::int32_t x, std::int32_t y) const
{
    return {DETAIL::DisplayScale::toLogical(x, scale_.exact), DETAIL::DisplayScale::toLogical(y, scale_.exact)};
}

std::uint32_t StandaloneWindow::OSImpl::pointerModifiers() const
{
    return DETAIL::KeyTranslation::modifierWord(SDL_GetModState());
}

// The first move after the pointer came in announces the entry, then every
// move is reported as a drag (a button held) or a plain move.
void StandaloneWindow::OSImpl::handleMotion(const SDL_MouseMotionEvent& event)
{
    lastPosition_ = toLogical(toDevice(static_cast<float>(event.x)), toDevice(static_cast<float>(event.y)));
    tMouseMoveEvent move{lastPosition_.x + travel_.x, lastPosition_.y + travel_.y, pointerModifiers()};
    if (!pointerInside_) {
        pointerInside_ = true;
        send(MouseEnter, &move);
    }
    send(event.state != 0 ? MouseDrag : MouseMove, &move);
}

// A press takes the pointer capture so that a drag keeps reporting outside
// the window; the release gives it back.
void StandaloneWindow::OSImpl::handleButton(const SDL_MouseButtonEvent& event)
{
    const std::uint32_t button = buttonOf(event.button);
    if (button == 0) {
        return;
    }
    const bool press = event.type == SDL_MOUSEBUTTONDOWN;
    travel_ = {};
    if (press && !captured_) {
        SDL_CaptureMouse(SDL_TRUE);
        captured_ = true;
    } else if (!press && captured_) {
        captured_ = false;
        SDL_CaptureMouse(SDL_FALSE);
    }
    lastPosition_ = toLogical(toDevice(static_cast<float>(event.x)), toDevice(static_cast<float>(event.y)));
    // SDL counts the clicks of a series; every second press is a double click.
    const bool doubleClick = press && event.clicks >= 2 && event.clicks % 2 == 0;
    const std::uint32_t kind = !press ? tMouseButtonEvent::Release
                                      : (doubleClick ? tMouseButtonEvent::DoubleClick : tMouseButtonEvent::Press);
    tMouseButtonEvent click{lastPosition_.x, lastPosition_.y, pointerModifiers(), button, kind};
    send(MouseButton, &click);
}

void StandaloneWindow::OSImpl::handleWheel(const SDL_MouseWheelEvent& event)
{
    const float notches = event.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.preciseY : event.preciseY;
    const auto delta = static_cast<std::int32_t>(std::lround(notches * 120.0f));
    if (delta == 0) {
        return;
    }
    const std::uint32_t modifiers = pointerModifiers();
    tMouseWheelEvent wheel{toDevice(static_cast<float>(event.mouseX)), toDevice(static_cast<float>(event.mouseY)),
                           modifiers, delta, (modifiers & ModifierShift) ? 0 : 1};
    send(MouseWheel, &wheel);
}

void StandaloneWindow::OSImpl::handleLeave()
{
    if (!pointerInside_) {
        return;
    }
    pointerInside_ = false;
    tMouseMoveEvent leave{lastPosition_.x, lastPosition_.y, pointerModifiers()};
    send(MouseLeave, &leave);
}

void StandaloneWindow::OSImpl::handleKey(const SDL_KeyboardEvent& event)
{
    using DETAIL::KeyTranslation;
    const std::uint32_t modifiers = KeyTranslation::modifierWord(static_cast<SDL_Keymod>(event.keysym.mod));
    if (modifiers != lastModifiers_) {
        lastModifiers_ = modifiers;
        tModifierEvent changed{modifiers, 0};
        send(ModifiersChanged, &changed);
    }
    std::uint32_t code = KeyTranslation::keyCode(event.keysym) | modifiers;
    if (KeyTranslation::isKeypad(event.keysym.scancode)) {
        code |= ModifierKeypad;
    }
    const bool press = event.type == SDL_KEYDOWN;
    tKeyEvent key{code, KeyTranslation::keyId(event.keysym.scancode), press && event.repeat == 0 ? 1u : 0u};
    send(press ? KeyDown : KeyUp, &key);
}

void StandaloneWindow::OSImpl::handleText(const SDL_TextInputEvent& event)
{
    if (static_cast<unsigned char>(event.text[0]) < 32) {
        return;
    }
    tTextEvent text{event.text};
    send(TextInput, &text);
}

// SDL reports a drop only once it has happened, as a series: a begin, the
// files and texts one by one, and a complete. The series becomes one drag
// that enters and drops at once where the pointer was last seen in the
// window. The strings stay SDL's: the message loop frees them.
void StandaloneWindow::OSImpl::handleDrop(const SDL_DropEvent& event)
{
    switch (event.type) {
    case SDL_DROPBEGIN: dropped_ = {}; break;
    case SDL_DROPFILE:
        if (event.file != nullptr) {
            dropped_.files.emplace_back(event.file);
        }
        break;
    case SDL_DROPTEXT:
        if (event.file != nullptr) {
            dropped_.texts.emplace_back(event.file);
        }
        break;
    case SDL_DROPCOMPLETE: {
        const tDropData data = std::exchange(dropped_, {});
        tDragEvent drag{lastPosition_.x, lastPosition_.y, pointerModifiers(), &data};
        send(DragEnter, &drag);
        if (window_ != nullptr) {
            send(Drop, &drag);
        }
        break;
    }
    default: break;
    }
}

} // namespace Casement
