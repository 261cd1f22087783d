// The whole window in a few of its looks, painted at scale 1 and 2 and
// compared with reference pictures (see PixelComparison.h). The scale-1
// pictures also make up the contact sheet docs/wizard-looks.png, which the
// same comparison keeps up to date.
#include "wizard/UpdateWizardMainWidget.h"

#include "PixelComparison.h"
#include "WizardTestSupport.h"

#include <trellis/BackgroundDrawingCanvas.h>
#include <trellis/ManagerContainer.h>
#include <trellis/Pane.h>

#include <basalt/ResourceModule.h>
#include <casement/PictureDrawing.h>

#include <functional>

namespace {

using namespace WizardTesting;
using Trellis::Testing::matchesReference;

struct tLook {
    const char* name;
    std::string title;
    std::function<void(UpdateWizardMainWidget&)> show;
};

// What the update-available page shows for the simulated device.
void offerUpdate(UpdateWizardMainWidget& wizard)
{
    wizard.veil().setVisible(false);
    wizard.newestValue().setText("33 / 0x67");
    wizard.installedValue().setText("32 / 0x67");
    wizard.installedValue().setAttribute("state", "fail");
    wizard.serialValue().setText("TVS0012345");
    wizard.infoPanel().setAttribute("background", "info");
    wizard.statusIcon().setAttribute("icon", "error");
    wizard.message().setText("A firmware update is available for your Trovix Studio. To update the firmware now, "
                             "click UPDATE. To update the firmware later, click QUIT.");
    wizard.actionButton().setText("UPDATE");
    wizard.actionButton().setAttribute("hasFocus", "true");
    wizard.quitButton().setAttribute("hasFocus", "false");
}

// The stand-by page: the wheel, turned to a frame, in the icon's place.
std::function<void(UpdateWizardMainWidget&)> standBy(int frame)
{
    return [frame](UpdateWizardMainWidget& wizard) {
        offerUpdate(wizard);
        wizard.installedValue().setAttribute("state", "neutral");
        wizard.message().setText(
            "Please stand by while your Trovix Studio is being updated and do not disconnect it from USB.");
        wizard.actionButton().setVisible(false);
        wizard.statusIcon().setVisible(false);
        wizard.wheel().start();
        for (int period = 0; period < 2 * frame; ++period) {
            wizard.wheel().onTick();
        }
    };
}

const std::string Title = "TROVIX STUDIO UPDATER";

const tLook Looks[] = {
    {"veil", Title, [](UpdateWizardMainWidget&) {}},
    {"update-offered", Title, offerUpdate},
    {"busy-1", Title, standBy(1)},
    {"busy-6", Title, standBy(6)},
    {"about", Title, [](UpdateWizardMainWidget& wizard) { wizard.showAbout(); }},
    {"about-long-title", "TROVIX STUDIO FIRMWARE UPDATER FOR USB", [](UpdateWizardMainWidget& wizard) {
         offerUpdate(wizard);
         wizard.showAbout();
     }},
    {"about-focused", Title, [](UpdateWizardMainWidget& wizard) {
         offerUpdate(wizard);
         wizard.pane()->setFocus(&wizard.aboutButton());
     }},
    {"quit-question", Title, [](UpdateWizardMainWidget& wizard) {
         standBy(6)(wizard);
         wizard.askToQuit();
     }},
};

// The window painted in a look at a scale.
Casement::Picture paint(const tLook& look, int scale)
{
    Trellis::ManagerContainer resources(Basalt::ResourceModule::program());
    resources.setStyleSheet("FirmwareUpdaterStyles.txt");
    Trellis::Pane pane;
    auto wizard = std::make_shared<UpdateWizardMainWidget>(texts(look.title));
    pane.setRoot(wizard);
    pane.setSize(628, 336);
    pane.runFrameCycle();
    look.show(*wizard);
    pane.runFrameCycle();
    Trellis::BackgroundDrawingCanvas canvas;
    canvas.setScale(scale);
    canvas.resize({628, 336});
    pane.paint({pane.bounds()}, canvas, Trellis::Pane::AllTrees);
    pane.setRoot(nullptr);
    return canvas.getBuffer();
}

// Glyph edges are antialiased by the font rasteriser: a small difference in
// some pixels is allowed, none in pictures and panels beyond that.
constexpr Trellis::Testing::tPixelTolerance TextTolerance{8, 200};

class WizardPainting : public testing::TestWithParam<int> {};

TEST_P(WizardPainting, EachLookMatchesItsReference)
{
    for (const tLook& look : Looks) {
        const std::string name = "app/wizard/tests/references/" + std::string(look.name) + "@" +
                                 std::to_string(GetParam()) + "x";
        EXPECT_TRUE(matchesReference(paint(look, GetParam()), name, TextTolerance)) << look.name;
    }
}

INSTANTIATE_TEST_SUITE_P(Scales, WizardPainting, testing::Values(1, 2),
                         [](const testing::TestParamInfo<int>& scale) { return "Scale" + std::to_string(scale.param); });

// Two looks a row, 8 pixels apart, on white.
TEST(WizardContactSheet, ShowsEveryLookAtScaleOne)
{
    constexpr int Gap = 8;
    constexpr int Columns = 2;
    const int rows = static_cast<int>((std::size(Looks) + Columns - 1) / Columns);
    Casement::Picture sheet;
    sheet.allocate(Gap + Columns * (628 + Gap), Gap + rows * (336 + Gap));
    std::fill(sheet.pixels(), sheet.pixels() + sheet.width() * sheet.height(), 0xFFFFFFFFu);
    for (std::size_t i = 0; i < std::size(Looks); ++i) {
        const Casement::Picture look = paint(Looks[i], 1);
        const auto column = static_cast<std::int32_t>(i % Columns);
        const auto row = static_cast<std::int32_t>(i / Columns);
        Casement::drawPicture(sheet, Gap + column * (628 + Gap), Gap + row * (336 + Gap), look, 0,
                              {0, 0, sheet.width(), sheet.height()}, Casement::eDrawMode::CopySource);
    }
    EXPECT_TRUE(matchesReference(sheet, "docs/wizard-looks", TextTolerance));
}

} // namespace
