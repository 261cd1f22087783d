#include "wizard/UpdateWizardMainWidget.h"

#include "logic/UpdaterDescription.h"

#include <initializer_list>

namespace {

// The about panel's picture is this large; the overlay centres it.
constexpr std::int32_t AboutPanelWidth = 450;
constexpr std::int32_t AboutPanelHeight = 274;

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
    buildTitlePanel();
    buildBodyPanel();
    buildAboutOverlay();
}

void UpdateWizardMainWidget::buildTitlePanel()
{
    titlePanel_ = appendBar(*this, "FirmwareUpdaterTitlePanel", Trellis::RightToLeft, "FirmwareUpdaterTitlePanel");
    appendText<Trellis::Label>(*titlePanel_, "FirmwareUpdaterTitlePanelHeadline", applicationTitle_);
    aboutButton_ =
        appendText<Trellis::Button>(*titlePanel_, "FirmwareUpdaterTitlePanelAbout", "About", "FirmwareUpdaterTitlePanelAbout");
    aboutButton_->clicked.connect([this](const Trellis::ButtonImpl::tSignalData&) { showAbout(); });
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
    appendText<Trellis::Label>(*row, "Label", caption, captionStyle);
    revisions.addChild(row, Trellis::PooledName("FirmwareUpdaterFirmwarePanelRevisionsRow"));
    return value;
}

void UpdateWizardMainWidget::buildInfoPanel(Trellis::Widget& body)
{
    infoPanel_ = appendBar(body, "FirmwareUpdaterInfoPanel", Trellis::LeftToRight, "Panel");
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
}

// Everything on the overlay but the overlay itself is disabled, so a click
// anywhere on it reaches the overlay button, which closes it.
void UpdateWizardMainWidget::buildAboutOverlay()
{
    overlay_ = appendText<Trellis::Button>(*this, "FirmwareUpdaterOverlay", "");
    overlay_->setFloating(true);
    overlay_->setVisible(false);
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

// The panel's picture box is centred by the overlay's margins (negative
// when the overlay is the smaller). The panel is placed in it by
// afterLayout(): a hidden overlay has no style yet, so its panel's outer
// margins are known only once the frame cycle has styled it.
void UpdateWizardMainWidget::showAbout()
{
    overlay_->setPosition(position().x, position().y);
    overlay_->setSize(width(), height());
    const std::int32_t spareWidth = overlay_->width() - AboutPanelWidth;
    const std::int32_t spareHeight = overlay_->height() - AboutPanelHeight;
    const std::int32_t left = spareWidth / 2;
    const std::int32_t top = spareHeight / 2;
    overlay_->setMargins({left, top, spareWidth - left, spareHeight - top});
    overlay_->setVisible(true);
}

void UpdateWizardMainWidget::hideAbout()
{
    overlay_->setVisible(false);
}

// The message label's height follows its lines; this puts it in the middle
// of the info panel (less its top margin) whatever their number. An open
// overlay places its panel (left to right, no spacing).
void UpdateWizardMainWidget::afterLayout()
{
    Bar::afterLayout();
    if (message_->height() != 0) {
        const std::int32_t y = ((infoPanel_->height() - message_->height()) >> 1) - message_->margins().top;
        message_->setPosition(0, y);
    }
    if (overlay_->isShown()) {
        overlay_->layoutChildren(Trellis::LeftToRight, 0);
    }
}
