#include "casement/MessageBox.h"

#include <basalt/Assertion.h>

#include <array>
#include <cstdio>
#include <cstdlib>

namespace Casement {
namespace {

Uint32 flagsOf(MessageBox::eKind kind)
{
    switch (kind) {
    case MessageBox::Warning: return SDL_MESSAGEBOX_WARNING;
    case MessageBox::Error: return SDL_MESSAGEBOX_ERROR;
    default: return SDL_MESSAGEBOX_INFORMATION;
    }
}

// Without a display server to talk to, SDL's message boxes could only fail
// (or start helper programs that wait for one).
bool displayAvailable()
{
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr && *value != '\0';
    };
    return set("DISPLAY") || set("WAYLAND_DISPLAY");
}

MessageBox::eAnswer fallBack(const std::string& caption, const std::string& text, MessageBox::eAnswer answer)
{
    std::fprintf(stderr, "%s\n%s\n", caption.c_str(), text.c_str());
    std::fflush(stderr);
    return answer;
}

} // namespace

MessageBox::eAnswer MessageBox::show(eKind kind, const std::string& caption, const std::string& text,
                                     eAnswer defaultAnswer, SDL_Window* parent)
{
    const bool question = kind == Question;
    if (question && defaultAnswer == Ok) {
        defaultAnswer = No;
    }
    if (!question) {
        defaultAnswer = Ok;
    }
    if (!displayAvailable()) {
        return fallBack(caption, text, defaultAnswer);
    }
    const auto defaultFlag = [defaultAnswer](eAnswer answer) {
        return answer == defaultAnswer ? Uint32{SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT} : Uint32{0};
    };
    const std::array<SDL_MessageBoxButtonData, 2> questionButtons{{
        {defaultFlag(Yes), Yes, "Yes"},
        {defaultFlag(No) | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, No, "No"},
    }};
    const SDL_MessageBoxButtonData okButton{
        SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, Ok, "OK"};
    const SDL_MessageBoxData data{flagsOf(kind), parent, caption.c_str(), text.c_str(),
                                  question ? 2 : 1, question ? questionButtons.data() : &okButton, nullptr};
    int chosen = -1;
    if (SDL_ShowMessageBox(&data, &chosen) != 0) {
        return fallBack(caption, text, defaultAnswer);
    }
    // -1: the box was closed without a button.
    return chosen < 0 ? (question ? No : Ok) : static_cast<eAnswer>(chosen);
}

void MessageBox::installForAssertions()
{
    Basalt::Assertion::setMessageBox([](const std::string& caption, const std::string& text) {
        show(Error, caption, text);
    });
}

} // namespace Casement
