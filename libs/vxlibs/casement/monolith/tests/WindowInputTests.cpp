#include "WindowTestSupport.h"

#include <casement/KeyTranslation.h>

#include <gtest/gtest.h>

using namespace Casement;
using Casement::DETAIL::KeyTranslation;

TEST(KeyTranslation, ModifierWordSetsTheSuperBitOnlyWithAnotherModifier)
{
    EXPECT_EQ(KeyTranslation::modifierWord(KMOD_NONE), 0u);
    EXPECT_EQ(KeyTranslation::modifierWord(KMOD_LGUI), 0u);
    EXPECT_EQ(KeyTranslation::modifierWord(SDL_Keymod(KMOD_LSHIFT | KMOD_RGUI)), 0x11000000u);
    EXPECT_EQ(KeyTranslation::modifierWord(SDL_Keymod(KMOD_RCTRL | KMOD_LALT)), 0x60000000u);
    EXPECT_EQ(KeyTranslation::modifierWord(SDL_Keymod(KMOD_CAPS | KMOD_GUI)), 0x03000000u);
    EXPECT_EQ(KeyTranslation::modifierWord(KMOD_NUM), 0u);
}

TEST(KeyTranslation, KeyCodesAreUnmodifiedCharactersUpperCased)
{
    const auto code = [](SDL_Scancode scancode, SDL_Keycode sym) {
        return KeyTranslation::keyCode(SDL_Keysym{scancode, sym, KMOD_NONE, 0});
    };
    EXPECT_EQ(code(SDL_SCANCODE_A, SDLK_a), std::uint32_t{'A'});
    EXPECT_EQ(code(SDL_SCANCODE_SEMICOLON, 0xF6), 0xD6u); // a layout's o-umlaut
    EXPECT_EQ(code(SDL_SCANCODE_5, SDLK_5), std::uint32_t{'5'});
    EXPECT_EQ(code(SDL_SCANCODE_KP_5, SDLK_KP_5), std::uint32_t{'5'});
    EXPECT_EQ(code(SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER), std::uint32_t{'\r'});
    EXPECT_EQ(code(SDL_SCANCODE_F1, SDLK_F1), 0u);
    EXPECT_EQ(code(SDL_SCANCODE_LEFT, SDLK_LEFT), 0u);
    EXPECT_EQ(code(SDL_SCANCODE_DELETE, SDLK_DELETE), 0u);
}

TEST(KeyTranslation, KeyIdsTellApartTheKeypadAndTheMainBlock)
{
    EXPECT_EQ(KeyTranslation::keyId(SDL_SCANCODE_A), 0x1Eu);
    EXPECT_EQ(KeyTranslation::keyId(SDL_SCANCODE_0), 0x0Bu);
    EXPECT_EQ(KeyTranslation::keyId(SDL_SCANCODE_F10), 0x44u);
    EXPECT_EQ(KeyTranslation::keyId(SDL_SCANCODE_KP_7), 0x47u);
    EXPECT_EQ(KeyTranslation::keyId(SDL_SCANCODE_HOME), 0xC7u);
    EXPECT_EQ(KeyTranslation::keyId(SDL_SCANCODE_RETURN), 0x1Cu);
    EXPECT_EQ(KeyTranslation::keyId(SDL_SCANCODE_KP_ENTER), 0x9Cu);
    EXPECT_EQ(KeyTranslation::keyId(SDL_SCANCODE_MUTE), 0u);
}

class WindowInput : public testing::Test {
protected:
    void open(std::optional<double> scale)
    {
        session_.emplace("dummy", scale);
        ASSERT_TRUE(session_->ok()) << SDL_GetError();
        ASSERT_TRUE(window.create(627, 335, "Test"));
        window.show();
        pumpQueued();
        window.events.clear();
    }

    void push(SDL_Event event)
    {
        ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
        pumpQueued();
    }

    void pushButton(Uint32 type, Uint8 button, Sint32 x, Sint32 y, Uint8 clicks = 1)
    {
        SDL_Event event{};
        event.button = {type, 0, window.windowId(), 0, button, type == SDL_MOUSEBUTTONDOWN ? Uint8{SDL_PRESSED} : Uint8{SDL_RELEASED}, clicks, 0, x, y};
        push(event);
    }

    void pushMotion(Sint32 x, Sint32 y, Uint32 buttons)
    {
        SDL_Event event{};
        event.motion = {SDL_MOUSEMOTION, 0, window.windowId(), 0, buttons, x, y, 0, 0};
        push(event);
    }

    void pushKey(Uint32 type, SDL_Scancode scancode, SDL_Keycode sym, Uint16 modifiers, Uint8 repeat = 0)
    {
        SDL_Event event{};
        event.key.type = type;
        event.key.windowID = window.windowId();
        event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.key.repeat = repeat;
        event.key.keysym = {scancode, sym, modifiers, 0};
        push(event);
    }

    void pushWindowEvent(Uint8 what)
    {
        SDL_Event event{};
        event.window.type = SDL_WINDOWEVENT;
        event.window.windowID = window.windowId();
        event.window.event = what;
        push(event);
    }

    std::optional<VideoSession> session_;
    RecordingWindow window;
};

TEST_F(WindowInput, MovesAreDragsOnlyWhileAButtonIsHeld)
{
    open(1.0);
    pushMotion(10, 20, 0);
    pushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 10, 20);
    pushMotion(15, 25, SDL_BUTTON_LMASK);
    pushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 15, 25);
    pushMotion(16, 26, 0);
    pushWindowEvent(SDL_WINDOWEVENT_LEAVE);
    pushMotion(17, 27, 0);

    EXPECT_EQ(window.codes(), (std::vector<std::uint32_t>{MouseEnter, MouseMove, MouseButton, MouseDrag, MouseButton,
                                                          MouseMove, MouseLeave, MouseEnter, MouseMove}));
    const auto& events = window.events;
    EXPECT_EQ(events[0].move.x, 10);
    EXPECT_EQ(events[2].button.kind, tMouseButtonEvent::Press);
    EXPECT_EQ(events[2].button.button, tMouseButtonEvent::Left);
    EXPECT_EQ(events[3].move.x, 15);
    EXPECT_EQ(events[3].move.y, 25);
    EXPECT_EQ(events[4].button.kind, tMouseButtonEvent::Release);
    EXPECT_EQ(events[6].move.x, 16); // the leave reports the last position
}

TEST_F(WindowInput, ButtonsAndDoubleClicks)
{
    open(1.0);
    pushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 1, 1);
    pushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 1, 1);
    pushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 1, 1, 2);
    pushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_X1, 1, 1);

    ASSERT_EQ(window.events.size(), 3u);
    EXPECT_EQ(window.events[0].button.button, tMouseButtonEvent::Right);
    EXPECT_EQ(window.events[2].button.button, tMouseButtonEvent::Middle);
    EXPECT_EQ(window.events[2].button.kind, tMouseButtonEvent::DoubleClick);
}

TEST_F(WindowInput, PositionsAreLogicalAtTheExactScale)
{
    open(1.5);
    EXPECT_EQ(window.exactScale(), 1.5);
    EXPECT_EQ(window.backingScale(), 2);
    EXPECT_EQ(window.clientWidth(), 941);
    EXPECT_EQ(window.clientHeight(), 503);

    pushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 300, 150);
    pushMotion(301, 151, SDL_BUTTON_LMASK);
    ASSERT_NE(window.last(MouseButton), nullptr);
    EXPECT_EQ(window.last(MouseButton)->button.x, 200);
    EXPECT_EQ(window.last(MouseButton)->button.y, 100);
    EXPECT_EQ(window.last(MouseDrag)->move.x, 201); // 200.67 rounds up
    EXPECT_EQ(window.last(MouseDrag)->move.y, 101);
}

TEST_F(WindowInput, KeysCarryModifiersAndTheKeypadBit)
{
    open(1.0);
    pushKey(SDL_KEYDOWN, SDL_SCANCODE_KP_5, SDLK_KP_5, KMOD_NONE);
    pushKey(SDL_KEYDOWN, SDL_SCANCODE_5, SDLK_5, KMOD_LSHIFT);
    pushKey(SDL_KEYDOWN, SDL_SCANCODE_5, SDLK_5, KMOD_LSHIFT, 1);
    pushKey(SDL_KEYUP, SDL_SCANCODE_5, SDLK_5, KMOD_LSHIFT);

    EXPECT_EQ(window.codes(), (std::vector<std::uint32_t>{KeyDown, ModifiersChanged, KeyDown, KeyDown, KeyUp}));
    const auto& events = window.events;
    EXPECT_EQ(events[0].key.keyCode, 0x00800000u | '5');
    EXPECT_EQ(events[0].key.keyId, 0x4Cu);
    EXPECT_EQ(events[0].key.firstPress, 1u);
    EXPECT_EQ(events[1].modifiers.modifiers, std::uint32_t{ModifierShift});
    EXPECT_EQ(events[2].key.keyCode, ModifierShift | '5');
    EXPECT_EQ(events[2].key.keyId, 0x06u);
    EXPECT_EQ(events[3].key.firstPress, 0u);
}

TEST_F(WindowInput, LosingTheFocusDuringADragLosesTheCapture)
{
    open(1.0);
    pushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 5, 5);
    pushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    pushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    EXPECT_EQ(window.codes(), (std::vector<std::uint32_t>{MouseButton, CaptureLost, Deactivated, FocusLost,
                                                          Deactivated, FocusLost}));
}
