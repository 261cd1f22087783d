#pragma once

#include <SDL.h>

#include <cstdint>

namespace Casement::DETAIL {

// Turns SDL keyboard state into the framework's key codes, key ids and
// modifier words.
//
// SDL reports no dead keys: an accent key that waits for its letter gives a
// key press with keycode 0 and, once the letter is typed, one text event with
// the composed character. So the dead-key event is never sent here; the
// composed character arrives as ordinary text input.
class KeyTranslation {
public:
    // Shift, Control, Alt and Caps Lock bits; the super key's bit only when
    // one of those is set.
    static std::uint32_t modifierWord(SDL_Keymod modifiers);

    // The character the key gives with no modifier held, upper-cased; 0 for
    // keys without a character. Keypad keys give their digit or sign.
    static std::uint32_t keyCode(const SDL_Keysym& key);

    // True for the keys of the numeric keypad (digits, point, signs, Enter).
    static bool isKeypad(SDL_Scancode scancode);

    // The key's id: its scan code in the PC keyboard's set 1, with 0x80 added
    // for the extended keys (the separate navigation block, keypad Enter and
    // divide, the right-hand Control and Alt, the super and menu keys).
    // 0 for keys the table does not hold.
    static std::uint32_t keyId(SDL_Scancode scancode);
};

} // namespace Casement::DETAIL
