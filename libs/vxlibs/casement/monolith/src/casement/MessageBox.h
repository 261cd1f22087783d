#pragma once

#include <SDL.h>

#include <string>

namespace Casement {

// Modal message boxes. Where none can be shown (no display, or the platform
// fails) the caption and text go to standard error and the default answer is
// returned at once.
class MessageBox {
public:
    enum eKind { Information, Warning, Error, Question };
    // Information, warning and error boxes have one button (Ok); questions
    // have Yes and No.
    enum eAnswer { Ok, Yes, No };

    // `defaultAnswer` is the button that Enter chooses (for questions Yes or
    // No; Escape always answers No); it is also the answer when no box can be
    // shown. `parent` may be null.
    static eAnswer show(eKind kind, const std::string& caption, const std::string& text,
                        eAnswer defaultAnswer = Ok, SDL_Window* parent = nullptr);

    // Makes failed assertions show their text in an error box.
    static void installForAssertions();
};

} // namespace Casement
