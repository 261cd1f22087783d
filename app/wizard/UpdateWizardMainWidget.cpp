#include "wizard/UpdateWizardMainWidget.h"

#include "logic/UpdaterDescription.h"
#include "logic/UpdaterMessages.h"

#include <trellis/Pane.h>

#include <casement/WindowEvents.h>

#include <initializer_list>

namespace {

// The panel picture of the about overlay and of the quit question is this
// large; each cover centres it.
constexpr std::int32_t CoverPanelWidth = 450;
constexpr std::int32_t CoverPanelHeight = 274;

constexpr std::uint32_t EscapeKey = 0x1B;

// What a screen reader calls the pane that holds the page's message.
constexpr const char* StatusPaneName = "Status";

// A new widget of type T appended to `parent` under `id`.
template <typename T>
std::shared_ptr<T> append(Trellis::Widget& parent, const char* id)
{
    auto widget = std::make_shared<T>();
    parent.addChild(widget, Trellis::PooledName(id));
    return widget;
}

std::shared_ptr<Trellis::Bar> appendBar(Trellis::Widget& parent, const char* id, std::uint32_t direction,
                                        const char* style)
{
    auto bar = append<Trellis::Bar>(parent, id);
    bar->init(direction, style);
    return bar;
}

// Covers `over` with `cover`, whose margins centre the panel's picture box
// in it (negative when the cover is the smaller). The panel is placed in the
// box by afterLayout(): a hidden cover has no style yet, so its panel's
// outer margins are known only once the frame cycle has styled it.
void centrePanel(Trellis::Widget& cover, const Trellis::Widget& over)
{
    cover.setPosition(over.position().x, over.position().y);
    cover.setSize(over.width(), over.height());
    const std::int32_t spareWidth = cover.width() - CoverPanelWidth;
    const std::int32_t spareHeight = cover.height() - CoverPanelHeight;
    const std::int32_t left = spareWidth / 2;
    const std::int32_t top = spareHeight / 2;
    cover.setMargins({left, top, spareWidth - left, spareHeight - top});
}

bool isOpen(const Trellis::Widget& cover)
{
    return cover.hasFlags(Trellis::Widget::OwnVisible);
}

template <typename T>
std::shared_ptr<T> appendText(Trellis::Widget& parent, const char* id, std::string_view text,
                              const char* style = nullptr)
{
    auto widget = append<T>(parent, id);
    widget->init(text, style);
    return widget;
}

} // namespace

UpdateWizardMainWidget::UpdateWizardMainWidget(const UpdaterDescription& description)
    : deviceName_(description.deviceName)
    , productCode_(description.productCode)
    , productCode2_(description.productCode2)
    , updaterName_(description.updaterName)
    , applicationTitle_(description.applicationTitle)
    , copyrightText_(description.copyrightText)
    , versionText_(description.versionText)
    , contributorLines_(description.contributorLines)
{
    init(Trellis::TopToBottom, "FirmwareUpdaterMainWidget");
    setKeyTarget(true);
    buildTitlePanel();
    buildBodyPanel();
    buildAboutOverlay();
    buildQuitQuestion();
}

void UpdateWizardMainWidget::buildTitlePanel()
{
    titlePanel_ = appendBar(*this, "FirmwareUpdaterTitlePanel", Trellis::RightToLeft, "FirmwareUpdaterTitlePanel");
    appendText<Trellis::Label>(*titlePanel_, "FirmwareUpdaterTitlePanelHeadline", applicationTitle_);
    aboutButton_ =
        appendText<Trellis::Button>(*titlePanel_, "FirmwareUpdaterTitlePanelAbout", "About", "FirmwareUpdaterTitlePanelAbout");
    aboutButton_->clicked.connect([this](const Trellis::ButtonImpl::tSignalData&) { showAbout(); });
    aboutButton_->setFocusable(true);
    aboutButton_->setKeyMode(Trellis::Button::KeyClicks);
    aboutButton_->focusChanged.connect([this](bool focused) {
        if (focused) {
            showFocusPicture(nullptr);
        }
    });
}

void UpdateWizardMainWidget::buildBodyPanel()
{
    bodyPanel_ = appendBar(*this, "FirmwareUpdaterBodyPanel", Trellis::TopToBottom, "FirmwareUpdaterBodyPanel");
    buildFirmwarePanel(*bodyPanel_);
    buildInfoPanel(*bodyPanel_);
    buildButtonPanel(*bodyPanel_);
}

void UpdateWizardMainWidget::buildFirmwarePanel(Trellis::Widget& body)
{
    firmwarePanel_ =
        appendBar(body, "FirmwareUpdaterFirmwarePanel", Trellis::TopToBottom, "FirmwareUpdaterFirmwarePanel");
    auto panelBody = appendBar(*firmwarePanel_, "FirmwareUpdaterFirmwarePanelBody", Trellis::LeftToRight,
                               "FirmwareUpdaterFirmwarePanelBody");
    auto revisions = appendBar(*panelBody, "FirmwareUpdaterFirmwarePanelRevisions", Trellis::TopToBottom,
                               "FirmwareUpdaterFirmwarePanelRevisions");
    newestValue_ = addRevisionRow(*revisions, "FirmwareUpdaterNewestFirmwareRevisionValue",
                                  "FirmwareUpdaterNewestFirmwareRevisionLabel", "Newest Firmware");
    installedValue_ = addRevisionRow(*revisions, "FirmwareUpdaterInstalledFirmwareRevisionValue",
                                     "FirmwareUpdaterInstalledFirmwareRevisionLabel", "Installed Firmware");
    serialValue_ = addRevisionRow(*revisions, "FirmwareUpdaterSerialNumberValue", "FirmwareUpdaterSerialNumberLabel",
                                  "Serial Number");
    deviceImage_ = appendBar(*panelBody, "FirmwareUpdaterFirmwarePanelDeviceImage", Trellis::TopToBottom,
                             "FirmwareUpdaterFirmwarePanelDeviceImage");
    deviceImage_->setAttribute("product", productCode_);
    veil_ = appendText<Trellis::Label>(*deviceImage_, "FirmwareUpdaterFirmwarePanelDeviceImageOverlay", "");
}

// A row of a value field and, right of it, its caption.
std::shared_ptr<Trellis::Label> UpdateWizardMainWidget::addRevisionRow(Trellis::Widget& revisions,
                                                                       const char* valueStyle,
                                                                       const char* captionStyle,
                                                                       const char* caption)
{
    auto row = std::make_shared<Trellis::Bar>();
    row->setAutoBreadth();
    row->init(Trellis::LeftToRight, nullptr);
    auto value = appendText<Trellis::Label>(*row, "Value", "", valueStyle);
    value->setAccessibleName(caption);
    appendText<Trellis::Label>(*row, "Label", caption, captionStyle)->setAccessibleRole(Trellis::eAccessibleRole::Ignored);
    revisions.addChild(row, Trellis::PooledName("FirmwareUpdaterFirmwarePanelRevisionsRow"));
    return value;
}

void UpdateWizardMainWidget::buildInfoPanel(Trellis::Widget& body)
{
    infoPanel_ = appendBar(body, "FirmwareUpdaterInfoPanel", Trellis::LeftToRight, "Panel");
    infoPanel_->setAccessibleRole(Trellis::eAccessibleRole::Panel);
    infoPanel_->setAccessibleName(StatusPaneName);
    statusIcon_ = appendText<Trellis::Label>(*infoPanel_, "FirmwareUpdaterInfoPanelIcon", "");
    wheel_ = append<SpinningProgressWheel>(*infoPanel_, "FirmwareUpdaterSpinningProgressWheel");
    wheel_->init(Trellis::LeftToRight, "Panel");
    wheel_->stop();
    auto labelBar = appendBar(*infoPanel_, "FirmwareUpdaterInfoPanelLabelBar", Trellis::TopToBottom, nullptr);
    message_ = append<Trellis::MultilineLabel>(*labelBar, "FirmwareUpdaterInfoPanelLabel");
    message_->init("", nullptr);
    message_->setAutoHeight(true);
}

// The panel runs right to left: the action button stands at the right edge.
void UpdateWizardMainWidget::buildButtonPanel(Trellis::Widget& body)
{
    buttonPanel_ = appendBar(body, "FirmwareUpdaterButtonPanel", Trellis::RightToLeft, "Panel");
    actionButton_ = appendText<Trellis::Button>(*buttonPanel_, "FirmwareUpdaterButtonAction", "?ACTION?");
    actionButton_->clicked.connect([this](const Trellis::ButtonImpl::tSignalData&) { advance(); });
    quitButton_ = appendText<Trellis::Button>(*buttonPanel_, "FirmwareUpdaterButtonQuit", "QUIT");
    quitButton_->clicked.connect([this](const Trellis::ButtonImpl::tSignalData&) { onQuitClicked(); });
    trackFocusLook(*actionButton_);
    trackFocusLook(*quitButton_);
}

// The button takes the keyboard focus, Return and space press it, and the
// focus picture goes with the focus, also when a click or Tab moves it (the
// About button's own look shows when it has the focus).
void UpdateWizardMainWidget::trackFocusLook(Trellis::Button& button)
{
    button.setFocusable(true);
    button.setKeyMode(Trellis::Button::KeyClicks);
    button.focusChanged.connect([this, &button](bool focused) {
        if (focused) {
            pageFocus_ = &button;
            showFocusPicture(&button);
        }
    });
}

// Everything on the overlay but the overlay itself is disabled, so a click
// anywhere on it reaches the overlay button, which closes it.
void UpdateWizardMainWidget::buildAboutOverlay()
{
    overlay_ = appendText<Trellis::Button>(*this, "FirmwareUpdaterOverlay", "");
    overlay_->setAccessibleRole(Trellis::eAccessibleRole::Dialog);
    overlay_->setAccessibleName(applicationTitle_);
    overlay_->setFloating(true);
    overlay_->setVisible(false);
    overlay_->setFocusable(true);
    overlay_->setKeyMode(Trellis::Button::KeyClicks);
    overlay_->clicked.connect([this](const Trellis::ButtonImpl::tSignalData&) { hideAbout(); });
    overlayPanel_ = appendBar(*overlay_, "FirmwareUpdaterOverlayPanel", Trellis::TopToBottom, "Panel");
    overlayPanel_->setEnabled(false);
    aboutTitle_ = appendText<Trellis::Label>(*overlayPanel_, "FirmwareUpdaterAboutTitle", applicationTitle_);
    if (applicationTitle_.size() > LongTitle) {
        aboutTitle_->setAttribute("titleLength", "large");
    }
    aboutInfos_ = appendBar(*overlayPanel_, "FirmwareUpdaterAboutInfos", Trellis::LeftToRight, "Panel");
    aboutVersion_ =
        appendText<Trellis::Label>(*aboutInfos_, "FirmwareUpdaterAboutVersion", updaterName_ + " " + versionText_);
    aboutCopyright_ = appendText<Trellis::Label>(*aboutInfos_, "FirmwareUpdaterAboutCopyright", copyrightText_);
    aboutFirmwareRevision_ = appendText<Trellis::Label>(*overlayPanel_, "FirmwareUpdaterAboutFirmwareRevision", "");
    auto contributors = appendBar(*overlayPanel_, "FirmwareUpdaterAboutContributors", Trellis::TopToBottom, "Panel");
    for (const std::string& line : contributorLines_) {
        appendText<Trellis::Label>(*contributors, "FirmwareUpdaterAboutContributorsLine", line)->setEnabled(false);
    }
    for (Trellis::Widget* label : std::initializer_list<Trellis::Widget*>{
             aboutTitle_.get(), aboutInfos_.get(), aboutVersion_.get(), aboutCopyright_.get(),
             aboutFirmwareRevision_.get()}) {
        label->setEnabled(false);
    }
}

void UpdateWizardMainWidget::buildQuitQuestion()
{
    quitSheet_ = std::make_shared<QuitQuestionSheet>();
    addChild(quitSheet_, Trellis::PooledName("FirmwareUpdaterQuitSheet"));
    quitSheet_->build(applicationTitle_, UpdaterMessages::QuitDuringUpdate);
    quitSheet_->setAnswerHandler([this](bool yes) { answerQuitQuestion(yes); });
}

void UpdateWizardMainWidget::showAbout()
{
    if (quitSheet_->isOpen()) {
        return;
    }
    centrePanel(*overlay_, *this);
    openCover(*overlay_, overlay_.get());
}

void UpdateWizardMainWidget::hideAbout()
{
    if (isOpen(*overlay_)) {
        overlay_->setVisible(false);
        closeCover();
    }
}

// The question covers the about overlay too, which it closes first.
void UpdateWizardMainWidget::askToQuit()
{
    if (quitSheet_->isOpen()) {
        return;
    }
    hideAbout();
    centrePanel(*quitSheet_, *this);
    openCover(*quitSheet_, &quitSheet_->noButton());
    if (Trellis::Pane* shownIn = pane()) {
        shownIn->announce(*quitSheet_, UpdaterMessages::QuitDuringUpdate);
    }
    if (questionObserver_) {
        questionObserver_(true);
    }
}

void UpdateWizardMainWidget::answerQuitQuestion(bool yes)
{
    closeCover();
    if (questionObserver_) {
        questionObserver_(false);
    }
    if (yes) {
        if (abandon_) {
            abandon_();
        }
        return;
    }
    if (heldPage_) {
        const auto [page, result] = *heldPage_;
        heldPage_.reset();
        showPage(page, result);
    }
}

void UpdateWizardMainWidget::openCover(Trellis::Button& cover, Trellis::Widget* focus)
{
    cover.setVisible(true);
    if (Trellis::Pane* shownIn = pane()) {
        focusBeforeCover_ = shownIn->focusWidget();
        shownIn->setFocusScope(&cover);
        shownIn->setFocus(focus);
    }
}

// The button that had the focus gets it back; when the page hid that one,
// the page's button, unless the page hid that too.
void UpdateWizardMainWidget::closeCover()
{
    Trellis::Pane* shownIn = pane();
    if (!shownIn) {
        return;
    }
    shownIn->setFocusScope(nullptr);
    Trellis::Widget* focus = nullptr;
    for (Trellis::Widget* candidate : {focusBeforeCover_, static_cast<Trellis::Widget*>(pageFocus_)}) {
        if (!focus && candidate && isOpen(*candidate)) {
            focus = candidate;
        }
    }
    focusBeforeCover_ = nullptr;
    shownIn->setFocus(focus);
}

bool UpdateWizardMainWidget::onKey(std::uint32_t code, const void* data)
{
    if (code != Casement::KeyDown) {
        return false;
    }
    const auto& key = *static_cast<const Casement::tKeyEvent*>(data);
    const std::uint32_t held = Casement::ModifierControl | Casement::ModifierAlt | Casement::ModifierShift;
    if ((key.keyCode & 0x1FFFF) != EscapeKey || (key.keyCode & held) != 0) {
        return false;
    }
    if (key.firstPress == 0) {
        return true;
    }
    if (quitSheet_->isOpen()) {
        quitSheet_->answer(false);
    } else if (isOpen(*overlay_)) {
        hideAbout();
    } else if (state_ == Updating) {
        askToQuit();
    } else if (isOpen(*quitButton_)) {
        onQuitClicked();
    }
    return true;
}

void UpdateWizardMainWidget::attachChanged(bool attached)
{
    Bar::attachChanged(attached);
    if (Trellis::Pane* shownIn = pane(); attached && shownIn) {
        shownIn->setInputWidget(this);
        if (pageFocus_ && isOpen(*pageFocus_)) {
            setFocusButton(pageFocus_);
        }
    }
}

// The message label's height follows its lines; this puts it in the middle
// of the info panel (less its top margin) whatever their number. An open
// cover places its panel (left to right, no spacing).
void UpdateWizardMainWidget::afterLayout()
{
    Bar::afterLayout();
    if (message_->height() != 0) {
        const std::int32_t y = ((infoPanel_->height() - message_->height()) >> 1) - message_->margins().top;
        message_->setPosition(0, y);
    }
    for (Trellis::Button* cover : {overlay_.get(), static_cast<Trellis::Button*>(quitSheet_.get())}) {
        if (cover->isShown()) {
            cover->layoutChildren(Trellis::LeftToRight, 0);
        }
    }
}
