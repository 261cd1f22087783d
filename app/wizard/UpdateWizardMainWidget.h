#pragma once

#include "wizard/QuitQuestionSheet.h"
#include "wizard/SpinningProgressWheel.h"
#include "wizard/WizardCallbacks.h"

#include <basalt/Clock.h>

#include <trellis/Bar.h>
#include <trellis/Button.h>
#include <trellis/Label.h>
#include <trellis/MultilineText.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

struct UpdaterDescription;

// The whole content of the updater's window: a title strip with the About
// button, the firmware panel (newest and installed firmware, serial number,
// device picture under a veil), the info panel (status icon, busy wheel,
// message) and the action and quit buttons, plus the about overlay and the
// quit question, each covering everything while it is open. The tree is
// built once, from the description's texts, and styled by the updater's
// stylesheet; later only texts, visibility, attributes, the wheel's frames
// and the covers' geometry change. The keyboard works it as the mouse does:
// the shown buttons, About among them, take the focus (Tab, Shift+Tab),
// Return and space press the focused one, and Escape stands for QUIT,
// closes the about overlay or answers the question No. A screen reader finds
// the firmware fields named by their captions (the installed field's state in
// words in its description), the message in a panel named "Status", the
// about overlay as a dialog and the question as an alert; every page
// announces its message, and the question itself. Owned by a shared handle,
// as every widget is.
class UpdateWizardMainWidget : public Trellis::Bar {
public:
    // Titles longer than this take the about overlay's smaller title font.
    static constexpr std::size_t LongTitle = 36;

    explicit UpdateWizardMainWidget(const UpdaterDescription& description);

    // Takes the logic's callbacks (all must be set), shows the connect page
    // and looks for the device once.
    void connectLogic(WizardCallbacks callbacks);
    // The action button's handler: one step of the wizard.
    void advance();
    // The quit button's handler: asks to quit, except during the update.
    void onQuitClicked();
    // Who is asked to quit (the application).
    void setQuitHandler(std::function<void()> quit) { quit_ = std::move(quit); }
    // From the click on UPDATE (or RETRY) until the last page, and while the
    // question is open, quitting needs the user's yes.
    bool asksBeforeQuitting() const { return state_ == Updating || quitSheet_->isOpen(); }
    // Opens the quit question over everything, No focused; nothing when it
    // is open already. The update goes on meanwhile; a page it reaches is
    // shown once the question is answered No.
    void askToQuit();
    // Who hears a Yes (the application, which stops the update and quits).
    void setAbandonHandler(std::function<void()> abandon) { abandon_ = std::move(abandon); }
    // Told the name of every page shown ("connect", "no-newer-firmware",
    // "update-available", "stand-by", "failed-to-boot", "success", "error").
    void setPageObserver(std::function<void(const char* page)> observer) { pageObserver_ = std::move(observer); }
    // Told when the quit question opens (true) and when it is answered.
    void setQuestionObserver(std::function<void(bool open)> observer) { questionObserver_ = std::move(observer); }
    WizardState state() const { return state_; }
    // While updating: where the update stands. The wait for update mode, then
    // the worker's phases, then the wait for the updated device to return.
    eUpdatePhase updatePhase() const;
    // While updating: turns the wheel, ends the waits and polls the update
    // result every timer period.
    void onTick() override;
    // Escape; the wizard is its Pane's input widget.
    bool onKey(std::uint32_t code, const void* data) override;
    // In a Pane: takes the keys first, and gives the page's button the focus.
    void attachChanged(bool attached) override;

    // Opens the about overlay over the whole widget, its panel centred; the
    // geometry is worked out anew on every call.
    void showAbout();
    // Closes it; nothing else moves.
    void hideAbout();

    // Centres the wrapped message vertically in the info panel.
    void afterLayout() override;

    Trellis::Button& aboutButton() const { return *aboutButton_; }
    Trellis::Label& veil() const { return *veil_; }
    Trellis::Label& newestValue() const { return *newestValue_; }
    Trellis::Label& installedValue() const { return *installedValue_; }
    Trellis::Label& serialValue() const { return *serialValue_; }
    Trellis::Bar& infoPanel() const { return *infoPanel_; }
    Trellis::Label& statusIcon() const { return *statusIcon_; }
    SpinningProgressWheel& wheel() const { return *wheel_; }
    Trellis::MultilineLabel& message() const { return *message_; }
    Trellis::Button& actionButton() const { return *actionButton_; }
    Trellis::Button& quitButton() const { return *quitButton_; }
    Trellis::Button& overlay() const { return *overlay_; }
    Trellis::Bar& overlayPanel() const { return *overlayPanel_; }
    Trellis::Label& aboutTitle() const { return *aboutTitle_; }
    QuitQuestionSheet& quitSheet() const { return *quitSheet_; }

private:
    enum ePage {
        ConnectPage,
        NoNewerFirmwarePage,
        UpdateAvailablePage,
        StandByPage,
        FailedToBootPage,
        SuccessPage,
        ErrorPage,
    };

    // What the stand-by page is waiting for.
    enum eUpdatingStep {
        WaitingForUpdateMode,
        Writing,
        WaitingForReturn,
    };

    // Shows the page; `result` fills the error page's error number. While
    // the quit question is open, a page other than stand-by is held back
    // until it is answered.
    void showPage(ePage page, std::int32_t result = 0);
    void setFocusButton(Trellis::Button* button);
    void showFocusPicture(const Trellis::Button* button);
    void setRevisionTexts(const std::string& installed, const std::string& newest,
                          const Conduit2::USBDeviceInfo& info);
    void resetRevisionTexts();
    bool showFirmwareInfo();
    void scan();
    void beginUpdating(const std::function<eUpdateModeStep()>& request, bool retrying);
    void followUpdateModeStep(eUpdateModeStep step);
    void startWorker();
    void stepUpdating();
    void finishUpdate(std::int32_t result);
    void showUpdatedDevice(std::int32_t result, bool afterWait);
    void failTheBoot();
    void fail(std::int32_t result);
    void waitFor(eUpdatingStep step, Basalt::Clock::Duration duration);

    // The about overlay and the quit question hold the keyboard while open;
    // closing one gives the focus back to the page's button.
    void openCover(Trellis::Button& cover, Trellis::Widget* focus);
    void closeCover();
    void answerQuitQuestion(bool yes);

    void buildTitlePanel();
    void buildBodyPanel();
    void buildFirmwarePanel(Trellis::Widget& body);
    void buildInfoPanel(Trellis::Widget& body);
    void buildButtonPanel(Trellis::Widget& body);
    void buildAboutOverlay();
    void buildQuitQuestion();
    void trackFocusLook(Trellis::Button& button);
    std::shared_ptr<Trellis::Label> addRevisionRow(Trellis::Widget& revisions, const char* valueStyle,
                                                   const char* captionStyle, const char* caption);

    std::string deviceName_;
    std::string productCode_;
    std::string productCode2_;
    std::string updaterName_;
    std::string applicationTitle_;
    std::string copyrightText_;
    std::string versionText_;
    std::array<std::string, 5> contributorLines_;

    std::shared_ptr<Trellis::Bar> titlePanel_;
    std::shared_ptr<Trellis::Button> aboutButton_;
    std::shared_ptr<Trellis::Bar> bodyPanel_;
    std::shared_ptr<Trellis::Bar> firmwarePanel_;
    std::shared_ptr<Trellis::Bar> deviceImage_;
    std::shared_ptr<Trellis::Label> veil_;
    std::shared_ptr<Trellis::Label> newestValue_;
    std::shared_ptr<Trellis::Label> installedValue_;
    std::shared_ptr<Trellis::Label> serialValue_;
    std::shared_ptr<Trellis::Bar> infoPanel_;
    std::shared_ptr<Trellis::Label> statusIcon_;
    std::shared_ptr<Trellis::MultilineLabel> message_;
    std::shared_ptr<Trellis::Bar> buttonPanel_;
    std::shared_ptr<Trellis::Button> actionButton_;
    std::shared_ptr<Trellis::Button> quitButton_;
    std::shared_ptr<Trellis::Button> overlay_;
    std::shared_ptr<Trellis::Bar> overlayPanel_;
    std::shared_ptr<Trellis::Bar> aboutInfos_;
    std::shared_ptr<Trellis::Label> aboutTitle_;
    std::shared_ptr<Trellis::Label> aboutVersion_;
    std::shared_ptr<Trellis::Label> aboutCopyright_;
    std::shared_ptr<Trellis::Label> aboutFirmwareRevision_;
    std::shared_ptr<SpinningProgressWheel> wheel_;
    std::shared_ptr<QuitQuestionSheet> quitSheet_;

    WizardCallbacks callbacks_;
    std::function<void()> quit_;
    std::function<void()> abandon_;
    std::function<void(const char*)> pageObserver_;
    std::function<void(bool)> questionObserver_;
    WizardState state_ = Scanning;
    UpdateResult result_;
    eUpdatingStep updatingStep_ = Writing;
    Basalt::Clock::TimePoint waitEnd_;
    // RETRY looked for the device in update mode first; when it is not
    // there, a ready device is asked to reboot.
    bool retrying_ = false;
    // The page's button, which has the focus unless a cover holds it or
    // Tab moved it to About; and the focus an open cover gives back.
    Trellis::Button* pageFocus_ = nullptr;
    Trellis::Widget* focusBeforeCover_ = nullptr;
    std::optional<std::pair<ePage, std::int32_t>> heldPage_;
};
