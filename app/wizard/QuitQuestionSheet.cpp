#include "wizard/QuitQuestionSheet.h"

#include <trellis/Label.h>
#include <trellis/MultilineText.h>

namespace {

std::shared_ptr<Trellis::Button> appendAnswer(Trellis::Widget& parent, const char* id, std::string_view text)
{
    auto button = std::make_shared<Trellis::Button>();
    parent.addChild(button, Trellis::PooledName(id));
    button->init(text, nullptr);
    button->setFocusable(true);
    button->setKeyMode(Trellis::Button::KeyClicks);
    return button;
}

} // namespace

// The caption and the question are disabled, so that a click on them falls
// through to the panel, which does nothing with it.
void QuitQuestionSheet::build(std::string_view caption, std::string_view question)
{
    init("", nullptr);
    setAccessibleRole(Trellis::eAccessibleRole::Alert);
    setAccessibleName(caption);
    setFloating(true);
    setVisible(false);
    panel_ = std::make_shared<Trellis::Bar>();
    addChild(panel_, Trellis::PooledName("FirmwareUpdaterQuitSheetPanel"));
    panel_->init(Trellis::TopToBottom, "Panel");
    auto title = std::make_shared<Trellis::Label>();
    panel_->addChild(title, Trellis::PooledName("FirmwareUpdaterQuitSheetCaption"));
    title->init(caption, nullptr).setEnabled(false);
    title->setAccessibleRole(Trellis::eAccessibleRole::Ignored);
    auto text = std::make_shared<Trellis::MultilineLabel>();
    panel_->addChild(text, Trellis::PooledName("FirmwareUpdaterQuitSheetQuestion"));
    text->init(question, nullptr).setEnabled(false);
    auto buttons = std::make_shared<Trellis::Bar>();
    panel_->addChild(buttons, Trellis::PooledName("FirmwareUpdaterQuitSheetButtons"));
    buttons->init(Trellis::RightToLeft, "Panel");
    no_ = appendAnswer(*buttons, "FirmwareUpdaterQuitSheetNo", "No");
    yes_ = appendAnswer(*buttons, "FirmwareUpdaterQuitSheetYes", "Yes");
    no_->clicked.connect([this](const Trellis::ButtonImpl::tSignalData&) { answer(false); });
    yes_->clicked.connect([this](const Trellis::ButtonImpl::tSignalData&) { answer(true); });
    for (Trellis::Button* button : {no_.get(), yes_.get()}) {
        button->focusChanged.connect([this, button](bool focused) {
            if (focused) {
                showFocusOn(*button);
            }
        });
    }
    showFocusOn(*no_);
}

// Closing first: the handler may open the sheet again or end the program.
void QuitQuestionSheet::answer(bool yes)
{
    if (!isOpen()) {
        return;
    }
    setVisible(false);
    showFocusOn(*no_);
    if (answered_) {
        answered_(yes);
    }
}

void QuitQuestionSheet::showFocusOn(const Trellis::Button& focused)
{
    no_->setAttribute("hasFocus", &focused == no_.get() ? "true" : "false");
    yes_->setAttribute("hasFocus", &focused == yes_.get() ? "true" : "false");
}
