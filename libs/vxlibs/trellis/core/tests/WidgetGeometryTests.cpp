// Sizes, limits, margins and positions as styles and callers set them.
#include "TreeTestSupport.h"

namespace Trellis {
namespace {

using namespace Testing;

using WidgetGeometry = TreeTest;

TEST_F(WidgetGeometry, SetSizeClampsToTheMinimumAndToAPositiveMaximumOnly)
{
    Widget widget;
    widget.setSizeLimits({10, 10}, {0, 30});
    widget.setSize(5, 50);
    EXPECT_EQ(placeOf(widget), (tPlace{0, 0, 10, 30}));
    widget.setSize(5000, -7);
    EXPECT_EQ(placeOf(widget), (tPlace{0, 0, 5000, 10})) << "a maximum of 0 never limits";
    widget.setSize(1 << 30, 12);
    EXPECT_EQ(widget.width(), 1 << 22) << "sizes stay far from 32-bit overflow";
}

TEST_F(WidgetGeometry, StylesSetMarginsLimitsAndPicturePins)
{
    build("Bar#Margins { margin: 4; margin-left: 1; outer-margin: 2; outer-margin-bottom: -3; }\n"
          "Bar#Pinned { width: 50; min-height: 7; max-height: 9; }\n"
          "Bar#Solid { image: url(\"Solid.tga\"); margin: 2; }\n"
          "Bar#Covering { image: url(\"Solid.tga\"); margin: 2; picture-includes-margin: true; }\n"
          "Bar#Stretched { image: url(\"Framed.tga\"); fixed: 3; margin: 2; }\n",
          {300, 300});
    auto margins = bar(*root, "Margins");
    auto pinned = bar(*root, "Pinned");
    auto solid = bar(*root, "Solid");
    auto covering = bar(*root, "Covering");
    auto stretched = bar(*root, "Stretched");
    frame();
    EXPECT_EQ(margins->margins(), (tEdges{1, 4, 4, 4})) << "a single edge overrides the group";
    EXPECT_EQ(margins->outerMargins(), (tEdges{2, 2, 2, -3}));
    EXPECT_EQ(placeOf(*pinned), (tPlace{0, 17, 50, 9})) << "width pins both limits; the root stretches it no further";
    EXPECT_EQ(solid->width(), 14) << "the picture's width plus the margins";
    EXPECT_EQ(solid->height(), 10);
    EXPECT_EQ(covering->width(), 10) << "the picture covers the margins";
    EXPECT_EQ(covering->height(), 6);
    EXPECT_EQ(stretched->width(), 300) << "a picture with stretch borders pins nothing";
    EXPECT_EQ(stretched->height(), 18);
}

TEST_F(WidgetGeometry, XOrYInTheStyleFloatsTheWidgetWhereTheyPlaceIt)
{
    build("Bar#Placed { y: 12; width: 30; height: 10; }\n");
    auto placed = bar(*root, "Placed");
    auto next = bar(*root, "Next");
    frame();
    EXPECT_TRUE(placed->isFloating());
    EXPECT_EQ(placeOf(*placed), (tPlace{0, 12, 30, 10})) << "the missing coordinate counts as 0";
    EXPECT_EQ(next->position().y, 0) << "it no longer takes space in the stacking";
}

TEST_F(WidgetGeometry, ANewStyleNameShrinksTheWidgetUntilTheNextStylePass)
{
    build("Bar.Wide { width: 120; height: 40; }\n");
    auto widget = bar(*root, "Widget", TopToBottom, "Wide");
    frame();
    EXPECT_EQ(widget->width(), 120);
    widget->setStyle("Narrow");
    EXPECT_EQ(placeOf(*widget), (tPlace{0, 0, 18, 18}));
    frame();
    EXPECT_EQ(placeOf(*widget), (tPlace{0, 0, 120, 18}))
        << "stretched by the root up to the limit the old style left, as no rule of the new one replaces it";
}

TEST_F(WidgetGeometry, ZIndexOrdersPaintingAndHitTestingStably)
{
    build("Bar#Top { z-index: 5; }\n");
    auto top = bar(*root, "Top");
    auto first = bar(*root, "First");
    auto second = bar(*root, "Second");
    frame();
    EXPECT_EQ(root->zOrder(), (std::vector<Widget*>{first.get(), second.get(), top.get()}));
}

} // namespace
} // namespace Trellis
