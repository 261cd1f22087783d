// Painting styled trees into the off-screen canvas at scale 1 and 2, compared
// with reference pictures (see PixelComparison.h), and the incremental
// repaint of the frame cycle.
#include "PixelComparison.h"
#include "TreeTestSupport.h"

#include <trellis/BackgroundDrawingCanvas.h>

#include <casement/Picture.h>

#include <atomic>
#include <thread>

namespace Trellis {
namespace {

using namespace Testing;

// Every look a panel has: background and border colours, a half-transparent
// veil, "no" background, pictures at their size and stretched by borders
// (the 2x variant at scale 2), frames by animation index and by attribute,
// displacement, margins covered or not, a dye mask, and a widget drawn over
// its children.
const char* const PanelsSheet =
    "*.Root { background-color: rgb(250, 250, 250); }\n"
    "Bar#Bordered { x: 4; y: 4; width: 30; height: 20; background-color: rgb(200, 220, 240);\n"
    "               background-border-color: rgb(10, 20, 30); }\n"
    "Bar#Veil { x: 20; y: 14; width: 30; height: 20; background-color: rgba(0, 0, 0, 128); }\n"
    "Bar#Nothing { x: 56; y: 4; width: 20; height: 20; background-color: no; }\n"
    "Bar#Stretched { x: 4; y: 30; width: 40; height: 26; image: url(\"Framed.tga\"); fixed: 3; }\n"
    "Bar#Strip { x: 50; y: 30; image: url(\"Strip.tga\"); animations: 4; animation-index: 3; }\n"
    "Bar#Strip[state=first] { animation-index: 0; }\n"
    "Bar#Inside { x: 62; y: 30; margin: 3; image: url(\"Solid.tga\"); relative-left: 1; }\n"
    "Bar#Covering { x: 80; y: 30; margin: 3; image: url(\"Solid.tga\"); picture-includes-margin: true;\n"
    "               background-color: rgb(255, 0, 255); }\n"
    "Bar#Dyed { x: 80; y: 4; width: 16; height: 16; dye-mask: url(\"Mask.tga\"); fixed: 0;\n"
    "           dye-color: rgb(0, 128, 0); background-color: rgb(255, 255, 255); }\n"
    "Bar#Over { x: 4; y: 60; width: 40; height: 16; background-color: rgba(255, 0, 0, 100);\n"
    "           draw_foreground: true; }\n"
    "Bar#Under { width: 40; height: 16; background-color: rgb(0, 0, 255); }\n";

class Painting : public TreeTest, public testing::WithParamInterface<int> {
protected:
    void SetUp() override
    {
        build(PanelsSheet, {100, 80});
        for (const char* id : {"Bordered", "Veil", "Nothing", "Stretched", "Strip", "Inside", "Covering", "Dyed"}) {
            bar(*root, id);
        }
        bar(*bar(*root, "Over"), "Under");
        canvas.setScale(GetParam());
        canvas.resize({100, 80});
        paintFrame();
    }

    std::vector<Casement::Rect> paintFrame()
    {
        const auto region = frame();
        pane.paint(region, canvas, Pane::AllTrees);
        return region;
    }

    // The device pixel at layout position (x, y).
    std::uint32_t pixel(std::int32_t x, std::int32_t y) const
    {
        return canvas.getBuffer().row(y * GetParam())[x * GetParam()];
    }

    std::string name(const char* what) const { return what + std::string("@") + std::to_string(GetParam()) + "x"; }

    BackgroundDrawingCanvas canvas;
};

TEST_P(Painting, PanelsMatchTheirReferencePicture)
{
    // The drawing is integer arithmetic throughout: every pixel must match.
    EXPECT_TRUE(matchesReference(canvas.getBuffer(), name("panels"), {0, 0}));
    EXPECT_TRUE(warnings.warnings.empty());
}

TEST_P(Painting, KnownPixelsHaveTheirColours)
{
    EXPECT_EQ(canvas.getBuffer().height(), 80 * GetParam());
    EXPECT_EQ(pixel(4, 4), 0xFF0A141Eu) << "the border";
    EXPECT_EQ(pixel(5, 5), 0xFFC8DCF0u) << "the background inside it";
    EXPECT_EQ(pixel(60, 10), 0xFFFAFAFAu) << "a 'no' background shows its parent's";
    EXPECT_EQ(pixel(45, 20), 0xFF7D7D7Du) << "alpha 128 over (250, 250, 250)";
    EXPECT_EQ(pixel(50, 30), 0xFFF0D020u) << "frame 3 of the strip";
    EXPECT_EQ(pixel(62, 30), 0xFFFAFAFAu) << "a picture inside the margins leaves them";
    EXPECT_EQ(pixel(66, 33), 0xFF2040E0u) << "moved right by one";
    EXPECT_EQ(pixel(80, 30), 0xFF2040E0u) << "a picture covering the margins";
    EXPECT_EQ(pixel(81, 5), 0xFF008000u) << "dyed through the mask's opaque half";
    EXPECT_EQ(pixel(94, 5), 0xFFFFFFFFu) << "and not through its clear half";
    EXPECT_EQ(pixel(10, 65), 0xFF64009Bu) << "the foreground (255, 0, 0, 100) over its blue child";
}

TEST_P(Painting, ChangingOneWidgetRepaintsExactlyItsRectangle)
{
    const Casement::Picture before = canvas.getBuffer();
    auto* strip = root->children()[4].get();
    strip->setAttribute("state", "first");
    const auto region = paintFrame();
    ASSERT_EQ(region, std::vector<Casement::Rect>{strip->rect()});
    const std::int32_t s = GetParam();
    const Casement::Rect changed{strip->rect().x * s, strip->rect().y * s, strip->width() * s, strip->height() * s};
    const Casement::Picture& after = canvas.getBuffer();
    int inside = 0;
    for (std::int32_t y = 0; y < after.height(); ++y) {
        for (std::int32_t x = 0; x < after.width(); ++x) {
            const bool in = x >= changed.x && y >= changed.y && x < changed.right() && y < changed.bottom();
            if (!in) {
                ASSERT_EQ(after.row(y)[x], before.row(y)[x]) << "at " << x << ", " << y;
            }
            inside += in && after.row(y)[x] != before.row(y)[x];
        }
    }
    EXPECT_EQ(inside, 8 * 4 * s * s) << "the whole frame changed from yellow to red";
    EXPECT_TRUE(frame().empty()) << "nothing left to repaint";
}

TEST_P(Painting, AMovedWidgetRepaintsItsOldAndNewPlaces)
{
    auto* veil = root->children()[1].get();
    veil->setPosition(60, 50);
    const auto region = paintFrame();
    EXPECT_EQ(region, (std::vector<Casement::Rect>{{20, 14, 30, 20}, {60, 50, 30, 20}}));
    EXPECT_EQ(pixel(45, 20), 0xFFFAFAFAu) << "the old place shows what was under it";
    EXPECT_TRUE(matchesReference(canvas.getBuffer(), name("panels-moved"), {0, 0}));
}

INSTANTIATE_TEST_SUITE_P(Scales, Painting, testing::Values(1, 2),
                         [](const testing::TestParamInfo<int>& scale) { return "Scale" + std::to_string(scale.param); });

using FrameCycle = TreeTest;

// A widget that asks for another layout every time it is laid out.
class Restless : public Bar {
public:
    void layout() override
    {
        ++layouts;
        invalidate();
    }
    int layouts = 0;
};

TEST_F(FrameCycle, StopsAfterFiveUpdatePassesAndClearsTheDirtyWord)
{
    build("");
    auto restless = std::make_shared<Restless>();
    root->addChild(restless, PooledName("Restless"));
    const auto region = frame();
    EXPECT_EQ(restless->layouts, Pane::MaxUpdatePasses);
    EXPECT_EQ(pane.dirtyWord(), 0u);
    EXPECT_EQ(region, std::vector<Casement::Rect>{pane.bounds()});
}

TEST_F(FrameCycle, RepaintRequestsFromAnotherThreadReachTheNextFrame)
{
    build("Bar#Leaf { width: 10; height: 10; }\n");
    auto leaf = bar(*root, "Leaf");
    frame();
    std::atomic<bool> done{false};
    std::thread other([&] {
        for (int i = 0; i < 2000; ++i) {
            leaf->repaint();
            pane.raiseDirty(Pane::RelayoutAndRepaint);
        }
        done = true;
    });
    while (!done) {
        frame();
    }
    other.join();
    frame();
    leaf->repaint();
    EXPECT_EQ(frame(), std::vector<Casement::Rect>{leaf->rect()});
    EXPECT_TRUE(frame().empty()) << "a request is taken once";
    EXPECT_EQ(leaf->rect(), (Casement::Rect{0, 0, 10, 10}));
}

} // namespace
} // namespace Trellis
