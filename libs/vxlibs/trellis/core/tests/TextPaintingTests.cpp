// Labels, buttons in each state and multi-line labels painted at scale 1 and
// 2 and compared with reference pictures (see PixelComparison.h). Text is
// drawn by the font at the canvas's scale, so the 2x pictures are sharp.
#include "PixelComparison.h"
#include "TreeTestSupport.h"

#include <trellis/BackgroundDrawingCanvas.h>
#include <trellis/Button.h>
#include <trellis/Label.h>
#include <trellis/MultilineText.h>

#include <algorithm>

namespace Trellis {
namespace {

using namespace Testing;

const char* const TextSheet =
    "*.Root { background-color: rgb(242, 242, 242); spacing: 2; margin: 2; }\n"
    "Label { height: 18; font-size: 12; foreground-color: rgb(16, 35, 49); background-color: no; }\n"
    "Label#Right { horizontal-alignment: right; vertical-alignment: bottom; }\n"
    "Label#Centred { horizontal-alignment: center; background-color: rgb(255, 255, 255);\n"
    "                foreground-relative-left: 2; foreground-relative-top: -1; }\n"
    "Label#Hidden { foreground-color: no; }\n"
    "Bar#Buttons { height: 22; spacing: 3; }\n"
    "Button { width: 44; font-size: 11; horizontal-alignment: center; foreground-color: rgb(0, 0, 0);\n"
    "         background-color: rgb(200, 200, 200); background-border-color: rgb(90, 90, 90); }\n"
    "Button:over { background-color: rgb(220, 230, 250); }\n"
    "Button:down { background-color: rgb(120, 140, 200); foreground-color: rgb(255, 255, 255); }\n"
    "Button:selected { foreground-color: rgb(200, 0, 0); }\n"
    "Button:!enabled { foreground-color: rgb(150, 150, 150); }\n"
    "MultilineLabel { font-size: 12; foreground-color: rgb(16, 35, 49); margin-left: 4; margin-top: 1;\n"
    "                 background-color: rgb(250, 250, 235); }\n";

class TextPainting : public TreeTest, public testing::WithParamInterface<int> {
protected:
    void SetUp() override { build(TextSheet, {240, 160}); }

    const Casement::Picture& paint()
    {
        canvas.setScale(GetParam());
        canvas.resize({240, 160});
        frame();
        pane.paint({pane.bounds()}, canvas, Pane::AllTrees);
        return canvas.getBuffer();
    }

    std::string name(const char* what) const { return what + std::string("@") + std::to_string(GetParam()) + "x"; }

    BackgroundDrawingCanvas canvas;
};

TEST_P(TextPainting, LabelsAndButtonsInEachState)
{
    addText<Label>(*root, "Left", "Größe: café, naïve");
    addText<Label>(*root, "Right", "Ελληνικά Кириллица");
    addText<Label>(*root, "Centred", "Centred");
    addText<Label>(*root, "Hidden", "never drawn");
    auto buttons = bar(*root, "Buttons", LeftToRight);
    auto normal = addText<Button>(*buttons, "Normal", "Quit");
    auto over = addText<Button>(*buttons, "Over", "Next");
    auto down = addText<Button>(*buttons, "Down", "OK");
    auto selected = addText<Button>(*buttons, "Selected", "Sel");
    auto disabled = addText<Button>(*root, "Disabled", "Off");
    disabled->setEnabled(false);
    selected->setSelected(true);
    frame();
    pane.setHoverWidget(over.get());
    pane.setPressedWidget(down.get());
    pane.pressMouseButton(1);
    // Glyph edges are antialiased by the font rasteriser: allow a small
    // difference in a few pixels, none in the panels.
    EXPECT_TRUE(matchesReference(paint(), name("labels-buttons"), {8, 40}));
    EXPECT_TRUE(warnings.warnings.empty());
    (void)normal;
}

TEST_P(TextPainting, MultilineLabelsWrapAndGrow)
{
    const char* const texts[] = {
        "One line.",
        "The firmware of your device is being updated. Do not unplug it or switch your computer off "
        "until this has finished, which takes about a minute.",
        "Averyveryverylongwordthatdoesnotfitonaline",
        "Première\nδεύτερη γραμμή\nтретья строка",
    };
    int i = 0;
    for (const char* text : texts) {
        auto label = addText<MultilineLabel>(*root, ("Message" + std::to_string(i++)).c_str(), text);
        label->setAutoHeight(true);
    }
    EXPECT_TRUE(matchesReference(paint(), name("multiline"), {8, 40}));
    EXPECT_EQ(static_cast<MultilineText&>(*root->children()[1]).lineCount(), 4u);
}

// Text is clipped to the widget, not to its content box: the accents of a
// line aligned to the bottom of a 16-pixel box rise into the top margin.
TEST_F(TreeTest, AGlyphRisingAboveItsContentBoxIsDrawnInsideTheWidget)
{
    build("*.Root { background-color: rgb(255, 255, 255); }\n"
          "Label { x: 10; y: 10; width: 60; height: 24; margin-top: 8; font-size: 20; vertical-alignment: bottom;\n"
          "        foreground-color: rgb(0, 0, 0); background-color: no; }\n");
    auto label = std::make_shared<Label>();
    root->addChild(label, PooledName("Accents"));
    label->init("ÉÅ", nullptr);
    frame();
    BackgroundDrawingCanvas canvas;
    canvas.resize({200, 100});
    pane.paint({pane.bounds()}, canvas, Pane::AllTrees);
    const auto inkedRows = [&canvas](std::int32_t top, std::int32_t bottom) {
        std::int32_t rows = 0;
        for (std::int32_t y = top; y < bottom; ++y) {
            const std::uint32_t* row = canvas.getBuffer().row(y);
            rows += std::any_of(row + 10, row + 70, [](std::uint32_t pixel) { return pixel != 0xFFFFFFFF; });
        }
        return rows;
    };
    EXPECT_GT(inkedRows(10, 18), 0) << "the top margin";
    EXPECT_EQ(inkedRows(0, 10), 0) << "above the widget";
}

INSTANTIATE_TEST_SUITE_P(Scales, TextPainting, testing::Values(1, 2),
                         [](const testing::TestParamInfo<int>& scale) { return "Scale" + std::to_string(scale.param); });

} // namespace
} // namespace Trellis
