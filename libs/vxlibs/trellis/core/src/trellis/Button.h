#pragma once

#include "trellis/TextPanel.h"

#include <casement/Geometry.h>

#include <boost/signals2/signal.hpp>

#include <cstdint>

namespace Trellis {

namespace ButtonImpl {

// What a button signal carries about the input that caused it: the kind word
// of the window layer's event (for the activation key, the key word's top
// eight bits, its modifier bits), whether it came from the mouse, and the
// button's double-click flag.
struct tSignalData {
    std::uint32_t kind = 0;
    std::uint8_t fromMouse = 0;
    std::uint8_t doubleClick = 0;
};

} // namespace ButtonImpl

// A Label that turns the mouse gestures of the first button (and, when it is
// focusable or a key target, the activation keys) into signals. It is
// hover-sensitive, so the stylesheet's ":over" and ":down" looks are painted
// as the pointer enters, leaves, presses and releases. Signals take their
// own lock to connect, disconnect and emit, so any thread may connect.
class Button : public TextPanel<Button> {
public:
    enum eKeyMode : std::uint32_t { KeyNone = 0, KeyClicks = 1, KeyDoubleClicks = 2 };
    // The key codes (low 17 bits of the key word) that activate a button:
    // the framework's activation code, Return (and the keypad's Enter) and
    // the space bar. A key held down activates once; with Control or Alt
    // held it is left to others.
    static constexpr std::uint32_t ActivationKey = 5;
    static constexpr std::uint32_t ReturnKey = '\r';
    static constexpr std::uint32_t SpaceKey = ' ';
    // Timer periods from a press to the first repeat, and between repeats.
    static constexpr std::int32_t RepeatDelay = 5;
    static constexpr std::int32_t RepeatInterval = 1;

    boost::signals2::signal<void(const ButtonImpl::tSignalData&, Casement::Point)> pressed;
    boost::signals2::signal<void(const ButtonImpl::tSignalData&)> clicked;
    boost::signals2::signal<void(const ButtonImpl::tSignalData&)> doubleClicked;
    boost::signals2::signal<void()> entered;
    boost::signals2::signal<void(const ButtonImpl::tSignalData&)> secondaryClicked;
    boost::signals2::signal<void()> repeated;
    boost::signals2::signal<void()> hoverElapsed;
    boost::signals2::signal<void()> left;
    boost::signals2::signal<void()> released;
    // The button became (true) or stopped being (false) its Pane's focus widget.
    boost::signals2::signal<void(bool)> focusChanged;

    // Marks the button hover-sensitive, installs the painter, sets the style
    // (a null style leaves the style name unset), then the text.
    Button& init(std::string_view text, const char* style);

    void setKeyMode(eKeyMode mode) { keyMode_ = mode; }
    // Timer periods the pointer must stay over the button before
    // hoverElapsed (0: never).
    void setHoverDelay(std::int32_t periods) { hoverDelay_ = periods; }
    // A double click emits doubleClicked, else a second clicked.
    void setDoubleClickReporting(bool on) { doubleClickReporting_ = on; }

    std::string_view getClass() const override { return "Button"; }
    void onEvent(std::uint32_t code, const void* data) override;
    bool onKey(std::uint32_t code, const void* data) override;
    void onTick() override;

protected:
    eAccessibleRole classAccessibleRole() const override { return eAccessibleRole::PushButton; }

private:
    void onPointer(std::uint32_t code);
    void onGesture(std::uint32_t code, const ButtonImpl::tSignalData& data, Casement::Point position);
    void startRepeating(std::int32_t periods);

    eKeyMode keyMode_ = KeyNone;
    std::int32_t hoverDelay_ = 0;
    bool doubleClick_ = false;
    bool doubleClickReporting_ = false;
    bool hoverDelayPending_ = false;
};

} // namespace Trellis
