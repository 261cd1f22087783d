#include "casement/KeyTranslation.h"

#include "casement/WindowEvents.h"

#include <array>
#include <utility>

namespace Casement::DETAIL {
namespace {

constexpr std::uint32_t extended = 0x80;

// SDL scan code (a USB usage) to set-1 scan code.
constexpr std::array<std::pair<SDL_Scancode, std::uint32_t>, 38> namedKeys{{
    {SDL_SCANCODE_ESCAPE, 0x01}, {SDL_SCANCODE_MINUS, 0x0C}, {SDL_SCANCODE_EQUALS, 0x0D},
    {SDL_SCANCODE_BACKSPACE, 0x0E}, {SDL_SCANCODE_TAB, 0x0F}, {SDL_SCANCODE_LEFTBRACKET, 0x1A},
    {SDL_SCANCODE_RIGHTBRACKET, 0x1B}, {SDL_SCANCODE_RETURN, 0x1C}, {SDL_SCANCODE_LCTRL, 0x1D},
    {SDL_SCANCODE_SEMICOLON, 0x27}, {SDL_SCANCODE_APOSTROPHE, 0x28}, {SDL_SCANCODE_GRAVE, 0x29},
    {SDL_SCANCODE_LSHIFT, 0x2A}, {SDL_SCANCODE_BACKSLASH, 0x2B}, {SDL_SCANCODE_COMMA, 0x33},
    {SDL_SCANCODE_PERIOD, 0x34}, {SDL_SCANCODE_SLASH, 0x35}, {SDL_SCANCODE_RSHIFT, 0x36},
    {SDL_SCANCODE_KP_MULTIPLY, 0x37}, {SDL_SCANCODE_LALT, 0x38}, {SDL_SCANCODE_SPACE, 0x39},
    {SDL_SCANCODE_CAPSLOCK, 0x3A}, {SDL_SCANCODE_NUMLOCKCLEAR, 0x45},
    {SDL_SCANCODE_SCROLLLOCK, 0x46}, {SDL_SCANCODE_KP_MINUS, 0x4A}, {SDL_SCANCODE_KP_PLUS, 0x4E},
    {SDL_SCANCODE_KP_PERIOD, 0x53}, {SDL_SCANCODE_F11, 0x57}, {SDL_SCANCODE_F12, 0x58},
    {SDL_SCANCODE_KP_ENTER, extended + 0x1C}, {SDL_SCANCODE_RCTRL, extended + 0x1D},
    {SDL_SCANCODE_KP_DIVIDE, extended + 0x35}, {SDL_SCANCODE_RALT, extended + 0x38},
    {SDL_SCANCODE_LGUI, extended + 0x5B}, {SDL_SCANCODE_RGUI, extended + 0x5C},
    {SDL_SCANCODE_APPLICATION, extended + 0x5D}, {SDL_SCANCODE_INSERT, extended + 0x52},
    {SDL_SCANCODE_DELETE, extended + 0x53},
}};

constexpr std::array<std::pair<SDL_Scancode, std::uint32_t>, 8> navigationKeys{{
    {SDL_SCANCODE_HOME, 0x47}, {SDL_SCANCODE_UP, 0x48}, {SDL_SCANCODE_PAGEUP, 0x49},
    {SDL_SCANCODE_LEFT, 0x4B}, {SDL_SCANCODE_RIGHT, 0x4D}, {SDL_SCANCODE_END, 0x4F},
    {SDL_SCANCODE_DOWN, 0x50}, {SDL_SCANCODE_PAGEDOWN, 0x51},
}};

// Set-1 codes of the rows of letters, in the order of the letters.
constexpr std::array<std::uint8_t, 26> letterCodes{
    0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17, 0x24, 0x25, 0x26, 0x32,
    0x31, 0x18, 0x19, 0x10, 0x13, 0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};

// Keypad 1 to 9 and 0 (the order of SDL's scan codes).
constexpr std::array<std::uint8_t, 10> keypadDigitCodes{0x4F, 0x50, 0x51, 0x4B, 0x4C, 0x4D, 0x47, 0x48, 0x49, 0x52};

std::uint32_t upperCase(std::uint32_t character)
{
    const bool asciiLower = character >= 'a' && character <= 'z';
    const bool latin1Lower = character >= 0xE0 && character <= 0xFE && character != 0xF7;
    return asciiLower || latin1Lower ? character - 0x20 : character;
}

std::uint32_t keypadCharacter(SDL_Scancode scancode)
{
    if (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_9) {
        return '1' + (scancode - SDL_SCANCODE_KP_1);
    }
    switch (scancode) {
    case SDL_SCANCODE_KP_0: return '0';
    case SDL_SCANCODE_KP_PERIOD: return '.';
    case SDL_SCANCODE_KP_DIVIDE: return '/';
    case SDL_SCANCODE_KP_MULTIPLY: return '*';
    case SDL_SCANCODE_KP_MINUS: return '-';
    case SDL_SCANCODE_KP_PLUS: return '+';
    case SDL_SCANCODE_KP_ENTER: return '\r';
    default: return 0;
    }
}

} // namespace

std::uint32_t KeyTranslation::modifierWord(SDL_Keymod modifiers)
{
    std::uint32_t word = 0;
    if (modifiers & KMOD_SHIFT) {
        word |= ModifierShift;
    }
    if (modifiers & KMOD_CTRL) {
        word |= ModifierControl;
    }
    if (modifiers & KMOD_ALT) {
        word |= ModifierAlt;
    }
    if (modifiers & KMOD_CAPS) {
        word |= ModifierCapsLock;
    }
    if ((modifiers & KMOD_GUI) && word != 0) {
        word |= ModifierSuper;
    }
    return word;
}

std::uint32_t KeyTranslation::keyCode(const SDL_Keysym& key)
{
    if (isKeypad(key.scancode)) {
        return keypadCharacter(key.scancode);
    }
    const auto sym = static_cast<std::uint32_t>(key.sym);
    // Keys without a character have SDL keycodes built from their scan code;
    // Delete has a control code in SDL but gives no character.
    if (sym == 0 || (sym & SDLK_SCANCODE_MASK) != 0 || sym == SDLK_DELETE) {
        return 0;
    }
    return upperCase(sym);
}

bool KeyTranslation::isKeypad(SDL_Scancode scancode)
{
    return scancode >= SDL_SCANCODE_KP_DIVIDE && scancode <= SDL_SCANCODE_KP_PERIOD;
}

std::uint32_t KeyTranslation::keyId(SDL_Scancode scancode)
{
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) {
        return letterCodes[scancode - SDL_SCANCODE_A];
    }
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_0) {
        return 0x02 + (scancode - SDL_SCANCODE_1);
    }
    if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F10) {
        return 0x3B + (scancode - SDL_SCANCODE_F1);
    }
    if (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_0) {
        return keypadDigitCodes[scancode - SDL_SCANCODE_KP_1];
    }
    for (const auto& [sdl, code] : navigationKeys) {
        if (sdl == scancode) {
            return extended + code;
        }
    }
    for (const auto& [sdl, code] : namedKeys) {
        if (sdl == scancode) {
            return code;
        }
    }
    return 0;
}

} // namespace Casement::DETAIL
