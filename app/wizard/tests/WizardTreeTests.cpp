// The wizard's tree with the updater's own stylesheet, pictures and fonts:
// where every widget lands, the busy wheel and the about overlay.
#include "wizard/UpdateWizardMainWidget.h"

#include "WizardTestSupport.h"

#include <trellis/ManagerContainer.h>
#include <trellis/Pane.h>
#include <trellis/Warnings.h>

#include <basalt/ResourceModule.h>
#include <casement/WindowEvents.h>

#include <gtest/gtest.h>

namespace {

using Casement::Rect;
using namespace WizardTesting;

class WizardTree : public testing::Test {
protected:
    void SetUp() override { build(texts()); }

    void build(const UpdaterDescription& description)
    {
        resources.setStyleSheet("FirmwareUpdaterStyles.txt");
        wizard = std::make_shared<UpdateWizardMainWidget>(description);
        pane.setRoot(wizard);
        pane.setSize(628, 336);
        region = pane.runFrameCycle();
    }

    void TearDown() override
    {
        pane.setRoot(nullptr);
        Trellis::removeWarningListener(listener);
    }

    Rect rectOf(const std::string& id)
    {
        Trellis::Widget* widget = find(*wizard, id);
        return widget ? widget->rect() : Rect{-1, -1, -1, -1};
    }

    void click(std::int32_t x, std::int32_t y)
    {
        for (const auto kind : {Casement::tMouseButtonEvent::Press, Casement::tMouseButtonEvent::Release}) {
            const Casement::tMouseButtonEvent event{x, y, 0, Casement::tMouseButtonEvent::Left, kind};
            pane.handleEvent(Casement::MouseButton, &event);
        }
        region = pane.runFrameCycle();
    }

    std::vector<std::string> warnings;
    std::size_t listener = Trellis::addWarningListener([this](const std::string& text) { warnings.push_back(text); });
    Trellis::ManagerContainer resources{Basalt::ResourceModule::program()};
    Trellis::Pane pane;
    std::shared_ptr<UpdateWizardMainWidget> wizard;
    std::vector<Rect> region;
};

struct tPlace {
    const char* id;
    Rect rect;  // in the window, worked out by hand from the stylesheet
};

TEST_F(WizardTree, EveryWidgetIsWhereTheStylesheetPutsIt)
{
    const tPlace places[] = {
        {"FirmwareUpdaterTitlePanel", {9, 9, 609, 38}},
        {"FirmwareUpdaterTitlePanelHeadline", {9, 9, 609, 38}},
        {"FirmwareUpdaterTitlePanelAbout", {576, 15, 35, 27}},  // the logo, with room for its focus ring
        {"FirmwareUpdaterBodyPanel", {9, 56, 609, 270}},
        {"FirmwareUpdaterFirmwarePanel", {28, 75, 571, 92}},
        {"FirmwareUpdaterFirmwarePanelBody", {28, 75, 571, 92}},
        {"FirmwareUpdaterFirmwarePanelRevisions", {28, 75, 421, 92}},
        {"FirmwareUpdaterFirmwarePanelRevisionsRow", {38, 85, 401, 18}},
        {"Value", {38, 85, 100, 18}},
        {"Label", {147, 85, 128, 18}},
        {"FirmwareUpdaterFirmwarePanelDeviceImage", {449, 85, 95, 72}},
        {"FirmwareUpdaterFirmwarePanelDeviceImageOverlay", {449, 85, 95, 72}},
        {"FirmwareUpdaterInfoPanel", {28, 185, 570, 71}},
        {"FirmwareUpdaterInfoPanelIcon", {40, 208, 23, 23}},
        {"FirmwareUpdaterInfoPanelLabelBar", {73, 185, 525, 71}},
        {"FirmwareUpdaterButtonPanel", {28, 280, 571, 33}},
        {"FirmwareUpdaterButtonAction", {494, 280, 105, 33}},
        {"FirmwareUpdaterButtonQuit", {382, 280, 105, 33}},
    };
    for (const tPlace& place : places) {
        EXPECT_EQ(rectOf(place.id), place.rect) << place.id;
    }
    EXPECT_EQ(wizard->serialValue().rect(), (Rect{38, 139, 200, 18}));
    EXPECT_EQ(wizard->installedValue().rect(), (Rect{38, 112, 100, 18}));
    EXPECT_FALSE(wizard->overlay().isShown());
    EXPECT_FALSE(wizard->wheel().isShown());
    EXPECT_TRUE(warnings.empty()) << warnings.front();
}

TEST_F(WizardTree, TheMessageIsCentredInTheInfoPanelWhateverItsLines)
{
    for (const char* text : {"One line.",
                             "An error occurred while updating your Trovix Studio (error -2). Please disconnect the "
                             "Trovix Studio, unpower it and quit the TVS Updater. Then reconnect the Trovix Studio, "
                             "restart TVS Updater and try performing the update again. Alternatively contact the VX "
                             "Technical Support. Then try once more."}) {
        wizard->message().setText(text);
        pane.runFrameCycle();
        const Rect message = wizard->message().rect();
        const Rect info = wizard->infoPanel().rect();
        EXPECT_GT(message.height, 0);
        EXPECT_EQ(message.y - info.y, ((info.height - message.height) >> 1) - 1) << text;
    }
    EXPECT_EQ(wizard->message().lineCount(), 4u);
}

TEST_F(WizardTree, TheWheelTurnsEverySecondPeriodAndRepaintsOnlyItself)
{
    SpinningProgressWheel& wheel = wizard->wheel();
    wheel.start();
    pane.runFrameCycle();
    EXPECT_EQ(wheel.rect(), (Rect{73, 206, 22, 22})) << "between the icon and the message";
    std::vector<std::uint32_t> frames;
    for (int period = 0; period < 24; ++period) {
        wheel.onTick();
        const auto repainted = pane.runFrameCycle();
        frames.push_back(wheel.frame());
        if (period % 2 == 1) {
            EXPECT_EQ(repainted, std::vector<Rect>{wheel.rect()}) << "period " << period;
        }
    }
    EXPECT_EQ(frames[0], 0u) << "the first step shows no change";
    EXPECT_EQ(frames[1], 1u);
    EXPECT_EQ(frames[23], 0u) << "a full turn in 24 periods";
    wheel.stop();
    pane.runFrameCycle();
    EXPECT_FALSE(wheel.isShown());
}

TEST_F(WizardTree, TheAboutOverlayCoversTheWindowAndAnyClickOnItClosesIt)
{
    const Rect actionBefore = wizard->actionButton().rect();
    int actions = 0;
    wizard->actionButton().clicked.connect([&](const Trellis::ButtonImpl::tSignalData&) { ++actions; });
    click(590, 25);  // the About button
    ASSERT_TRUE(wizard->overlay().isShown());
    EXPECT_EQ(wizard->overlay().rect(), (Rect{0, 0, 628, 336}));
    EXPECT_EQ(wizard->overlay().margins(), (Trellis::tEdges{89, 31, 89, 31}));
    EXPECT_EQ(wizard->overlayPanel().rect(), (Rect{105, 41, 450, 274}));
    EXPECT_EQ(rectOf("FirmwareUpdaterAboutContributors"), (Rect{118, 135, 410, 100}));
    EXPECT_EQ(wizard->actionButton().rect(), actionBefore) << "opening it moves nothing else";
    wizard->showAbout();
    pane.runFrameCycle();
    EXPECT_EQ(wizard->overlayPanel().rect(), (Rect{105, 41, 450, 274})) << "the same geometry again";

    click(540, 290);  // on the action button under the overlay
    EXPECT_EQ(actions, 0);
    EXPECT_FALSE(wizard->overlay().isShown()) << "the click closed the overlay";
    click(200, 150);  // on the panel, once more
    EXPECT_FALSE(wizard->overlay().isShown());
    wizard->showAbout();
    pane.runFrameCycle();
    click(200, 150);
    EXPECT_FALSE(wizard->overlay().isShown()) << "the disabled panel lets the click reach the overlay";
    EXPECT_TRUE(warnings.empty());
}

TEST_F(WizardTree, ALongTitleTakesTheSmallerAboutFont)
{
    EXPECT_EQ(wizard->aboutTitle().attribute(Trellis::PooledName("titleLength")), nullptr);
    pane.setRoot(nullptr);
    build(texts(std::string(37, 'T')));
    ASSERT_NE(wizard->aboutTitle().attribute(Trellis::PooledName("titleLength")), nullptr);
    EXPECT_EQ(*wizard->aboutTitle().attribute(Trellis::PooledName("titleLength")), "large");
    pane.setRoot(nullptr);
    build(texts(std::string(36, 'T')));
    EXPECT_EQ(wizard->aboutTitle().attribute(Trellis::PooledName("titleLength")), nullptr);
}

} // namespace
