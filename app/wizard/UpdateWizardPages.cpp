// The wizard's pages and the state machine that shows them, driven by the
// action button, the timer ticks of the update and the logic's callbacks.
#include "wizard/UpdateWizardMainWidget.h"

#include "logic/PostUpdateCheck.h"
#include "logic/UpdaterMessages.h"

#include <trellis/Pane.h>

#include <basalt/Clock.h>

#include <string_view>

namespace {

struct tLook {
    const char* background;
    const char* icon;
};
constexpr tLook Ok{"ok", "ok"};
constexpr tLook Info{"info", "error"};
constexpr tLook Error{"error", "error"};

enum eFocus { FocusAction, FocusQuit, FocusUnchanged };

// What one page shows. A null action caption hides the action button; a
// null quit caption keeps the quit button's; a null state leaves the
// installed field as it is.
struct tPage {
    const char* name;
    const char* message;
    tLook look;
    const char* action;
    bool quitShown;
    const char* quitCaption;
    const char* installedState;
    bool hidesVeil;
    bool iconShown;
    eFocus focus;
};

// In the order of the pages' enumeration.
const tPage Pages[] = {
    {"connect", UpdaterMessages::Connect, Info, "RESCAN", true, nullptr, nullptr, false, true, FocusAction},
    {"no-newer-firmware", UpdaterMessages::NoNewerFirmware, Ok, nullptr, true, nullptr, "success", true, true, FocusQuit},
    {"update-available", UpdaterMessages::UpdateAvailable, Info, "UPDATE", true, nullptr, "fail", true, true, FocusAction},
    {"stand-by", UpdaterMessages::StandBy, Info, nullptr, false, nullptr, "neutral", false, false, FocusUnchanged},
    {"failed-to-boot", UpdaterMessages::FailedToBoot, Error, "RETRY", true, nullptr, "neutral", false, true, FocusAction},
    {"success", UpdaterMessages::Success, Ok, nullptr, true, "FINISH", "success", false, true, FocusQuit},
    {"error", UpdaterMessages::Error, Error, nullptr, true, nullptr, nullptr, false, true, FocusQuit},
};

// The installed field's look in words, for screen readers.
const char* installedStateWords(std::string_view state)
{
    if (state == "success") {
        return "Up to date";
    }
    return state == "fail" ? "Not up to date" : "";
}

} // namespace

void UpdateWizardMainWidget::connectLogic(WizardCallbacks callbacks)
{
    callbacks_ = std::move(callbacks);
    showPage(ConnectPage);
    state_ = Scanning;
    advance();
}

// UPDATE and RETRY lead to the update; while it runs the action button is
// hidden, and a stray call does nothing, so one update starts at most.
void UpdateWizardMainWidget::advance()
{
    switch (state_) {
    case Scanning: scan(); break;
    case UpdateOffered: beginUpdating(callbacks_.requestUpdateMode, false); break;
    case BootFailed: beginUpdating(callbacks_.requestInUpdateMode, true); break;
    default: break;
    }
}

void UpdateWizardMainWidget::onQuitClicked()
{
    if (state_ != Updating && quit_) {
        quit_();
    }
}

void UpdateWizardMainWidget::scan()
{
    if (!callbacks_.isDeviceReady()) {
        return;
    }
    const bool updateAvailable = showFirmwareInfo();
    showPage(updateAvailable ? UpdateAvailablePage : NoNewerFirmwarePage);
    state_ = updateAvailable ? UpdateOffered : UpToDate;
}

// The stand-by page shows from the click on, before the device is asked
// anything, with the wheel turning through every wait; the window's timer
// drives the waits, so the window never stops answering.
void UpdateWizardMainWidget::beginUpdating(const std::function<eUpdateModeStep()>& request, bool retrying)
{
    showPage(StandByPage);
    state_ = Updating;
    retrying_ = retrying;
    scheduleTick(1);
    followUpdateModeStep(request());
}

// RETRY that does not find the device in update mode asks a ready device to
// reboot; an UPDATE or a reboot that fails leads to the failed-to-boot page.
void UpdateWizardMainWidget::followUpdateModeStep(eUpdateModeStep step)
{
    switch (step) {
    case eUpdateModeStep::InUpdateMode: startWorker(); return;
    case eUpdateModeStep::LookAfterWait: waitFor(WaitingForUpdateMode, UpdateModeWait); return;
    case eUpdateModeStep::NotInUpdateMode: break;
    }
    if (retrying_ && callbacks_.isDeviceReady()) {
        retrying_ = false;
        followUpdateModeStep(callbacks_.requestUpdateMode());
        return;
    }
    failTheBoot();
}

void UpdateWizardMainWidget::startWorker()
{
    updatingStep_ = Writing;
    result_.store(UpdateResult::Running);
    if (!callbacks_.startUpdate(result_)) {
        fail(result_.load());
    }
}

void UpdateWizardMainWidget::waitFor(eUpdatingStep step, Basalt::Clock::Duration duration)
{
    updatingStep_ = step;
    waitEnd_ = Basalt::clock().now() + duration;
}

void UpdateWizardMainWidget::onTick()
{
    if (state_ != Updating) {
        return;
    }
    wheel_->onTick();
    scheduleTick(1);
    stepUpdating();
}

void UpdateWizardMainWidget::stepUpdating()
{
    const bool waitOver = Basalt::clock().now() >= waitEnd_;
    switch (updatingStep_) {
    case WaitingForUpdateMode:
        if (waitOver) {
            followUpdateModeStep(callbacks_.lookForUpdateMode() ? eUpdateModeStep::InUpdateMode
                                                                : eUpdateModeStep::NotInUpdateMode);
        }
        break;
    case Writing:
        if (const std::int32_t result = result_.load(); result != UpdateResult::Running) {
            finishUpdate(result);
        }
        break;
    case WaitingForReturn:
        if (waitOver) {
            showUpdatedDevice(result_.load(), true);
        }
        break;
    }
}

eUpdatePhase UpdateWizardMainWidget::updatePhase() const
{
    switch (updatingStep_) {
    case WaitingForUpdateMode: return eUpdatePhase::RestartingIntoUpdateMode;
    case WaitingForReturn: return eUpdatePhase::CheckingNewFirmware;
    case Writing: break;
    }
    return callbacks_.workerPhase();
}

void UpdateWizardMainWidget::finishUpdate(std::int32_t result)
{
    if (result <= 0) {
        fail(result);
    } else {
        showUpdatedDevice(result, false);
    }
}

// A finished update succeeded when the device is back, at once or after one
// wait, and reports the newest version.
void UpdateWizardMainWidget::showUpdatedDevice(std::int32_t result, bool afterWait)
{
    PostUpdateReport report;
    const auto found =
        lookAtUpdatedDevice({callbacks_.isUpdatedDeviceBack, callbacks_.readFirmwareInfo}, afterWait, report);
    if (found == eUpdatedDevice::WaitForReturn) {
        waitFor(WaitingForReturn, UpdatedDeviceReturnWait);
        return;
    }
    if (found != eUpdatedDevice::NotBack) {
        setRevisionTexts(report.installed, report.newest, report.info);
    }
    if (found != eUpdatedDevice::Current) {
        fail(result);
        return;
    }
    showPage(SuccessPage);
    state_ = Succeeded;
}

void UpdateWizardMainWidget::failTheBoot()
{
    showPage(FailedToBootPage);
    state_ = BootFailed;
}

void UpdateWizardMainWidget::fail(std::int32_t result)
{
    showPage(ErrorPage, result);
    state_ = Failed;
}

void UpdateWizardMainWidget::showPage(ePage which, std::int32_t result)
{
    if (which != StandByPage && quitSheet_->isOpen()) {
        heldPage_ = {which, result};
        return;
    }
    const tPage& page = Pages[which];
    if (which == ConnectPage) {
        resetRevisionTexts();
    }
    infoPanel_->setAttribute("background", page.look.background);
    statusIcon_->setAttribute("icon", page.look.icon);
    message_->setText(UpdaterMessages::format(page.message, deviceName_, result, updaterName_));
    if (page.action) {
        actionButton_->setText(page.action);
        actionButton_->setVisible(true);
    } else {
        actionButton_->setText("<disabled>");
        actionButton_->setVisible(false);
    }
    quitButton_->setVisible(page.quitShown);
    if (page.quitCaption) {
        quitButton_->setText(page.quitCaption);
    }
    if (page.installedState) {
        installedValue_->setAttribute("state", page.installedState);
        installedValue_->setAccessibleDescription(installedStateWords(page.installedState));
    }
    if (page.hidesVeil) {
        veil_->setVisible(false);
    }
    statusIcon_->setVisible(page.iconShown);
    if (which == StandByPage) {
        wheel_->start();
    } else {
        wheel_->stop();
        setFocusButton(page.focus == FocusAction ? actionButton_.get() : quitButton_.get());
    }
    if (Trellis::Pane* shownIn = pane()) {
        shownIn->announce(*message_, message_->text());
    }
    if (pageObserver_) {
        pageObserver_(page.name);
    }
}

// The focus picture. In a Pane the keyboard focus goes with it, unless a
// cover holds the focus; that gives it to this button when it closes.
void UpdateWizardMainWidget::setFocusButton(Trellis::Button* button)
{
    pageFocus_ = button;
    if (Trellis::Pane* shownIn = pane(); shownIn && !shownIn->focusScope()) {
        shownIn->setFocus(button);
    }
    showFocusPicture(button);
}

void UpdateWizardMainWidget::showFocusPicture(const Trellis::Button* button)
{
    actionButton_->setAttribute("hasFocus", button == actionButton_.get() ? "true" : "false");
    quitButton_->setAttribute("hasFocus", button == quitButton_.get() ? "true" : "false");
}

// The device's firmware information in the value fields; whether an update
// is available.
bool UpdateWizardMainWidget::showFirmwareInfo()
{
    Conduit2::USBDeviceInfo info;
    std::string installed;
    std::string newest;
    bool updateAvailable = false;
    callbacks_.readFirmwareInfo(info, installed, newest, updateAvailable);
    setRevisionTexts(installed, newest, info);
    return updateAvailable;
}

void UpdateWizardMainWidget::setRevisionTexts(const std::string& installed, const std::string& newest,
                                              const Conduit2::USBDeviceInfo& info)
{
    serialValue_->setText(info.serialNumber);
    installedValue_->setText(installed);
    newestValue_->setText(newest);
}

void UpdateWizardMainWidget::resetRevisionTexts()
{
    Conduit2::USBDeviceInfo info;
    std::string installed;
    std::string newest;
    bool updateAvailable = false;
    callbacks_.readFirmwareInfo(info, installed, newest, updateAvailable);
    installedValue_->setText("-");
    serialValue_->setText("-");
    newestValue_->setText(newest);
}
