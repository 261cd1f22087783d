#pragma once

#include <trellis/Bar.h>
#include <trellis/Button.h>

#include <functional>
#include <memory>
#include <string_view>

// The question asked before the window closes during an update, drawn in
// the window itself: a half-transparent sheet over the whole wizard that
// carries a panel with the application's name, the question and the Yes
// and No buttons. Every click that lands on the sheet stays there, so the
// wizard under it takes none. No is the default: it carries the focus
// picture when the sheet opens, and the picture follows the focus between
// the two buttons. The wizard opens and places it like the about overlay.
class QuitQuestionSheet : public Trellis::Button {
public:
    // Builds the panel; the sheet starts hidden and floating.
    void build(std::string_view caption, std::string_view question);
    // Who hears the answer (true: Yes); the sheet is closed by then.
    void setAnswerHandler(std::function<void(bool yes)> handler) { answered_ = std::move(handler); }
    // Hides the sheet and reports the answer.
    void answer(bool yes);
    // Shown or about to be: set by the wizard, read before the next frame.
    bool isOpen() const { return hasFlags(OwnVisible); }

    Trellis::Bar& panel() const { return *panel_; }
    Trellis::Button& yesButton() const { return *yes_; }
    Trellis::Button& noButton() const { return *no_; }

private:
    void showFocusOn(const Trellis::Button& focused);

    std::shared_ptr<Trellis::Bar> panel_;
    std::shared_ptr<Trellis::Button> yes_;
    std::shared_ptr<Trellis::Button> no_;
    std::function<void(bool)> answered_;
};
