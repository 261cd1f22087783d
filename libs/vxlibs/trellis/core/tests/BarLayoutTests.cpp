// Stacking, automatic sizes and their contradictions, with geometry from
// stylesheet text and the numbers worked out by hand.
#include "TreeTestSupport.h"

#include <trellis/Warnings.h>

#include <ostream>
#include <string>

namespace Trellis {
namespace {

using namespace Testing;

// A 100 x 50 row with margins 5, 3, 7, 2 (content box 88 x 45) and spacing 4;
// A is pinned to 20 x 10 with outer margins 1, 2, 3, 1; B is free (18 x 18
// until stretched).
const char* const RowSheet = "Bar#Row { width: 100; height: 50; margin-left: 5; margin-top: 3; margin-right: 7;\n"
                             "          margin-bottom: 2; spacing: 4; }\n"
                             "Bar#A { width: 20; height: 10; outer-margin-left: 1; outer-margin-top: 2;\n"
                             "        outer-margin-right: 3; outer-margin-bottom: 1; }\n";

struct tStacking {
    std::uint32_t direction;
    tPlace a;
    tPlace b;
};

// The direction's name: the test's name, and its parameter as printed.
std::string nameOf(const tStacking& stacking)
{
    switch (stacking.direction) {
    case LeftToRight: return "LeftToRight";
    case RightToLeft: return "RightToLeft";
    case TopToBottom: return "TopToBottom";
    case BottomToTop: return "BottomToTop";
    default: return "Direction" + std::to_string(stacking.direction);
    }
}

void PrintTo(const tStacking& stacking, std::ostream* out)
{
    *out << nameOf(stacking);
}

class BarStacking : public TreeTest, public testing::WithParamInterface<tStacking> {};

TEST_P(BarStacking, PlacesChildrenFromTheStartEdgeAndStretchesThemAcross)
{
    build(RowSheet);
    auto row = bar(*root, "Row", GetParam().direction);
    auto a = bar(*row, "A");
    auto b = bar(*row, "B");
    frame();
    EXPECT_EQ(placeOf(*a), GetParam().a);
    EXPECT_EQ(placeOf(*b), GetParam().b);
    EXPECT_EQ(b->absolutePosition().x, row->absolutePosition().x + 5 + GetParam().b.x);
}

INSTANTIATE_TEST_SUITE_P(FourDirections, BarStacking,
                         testing::Values(tStacking{LeftToRight, {1, 2, 20, 10}, {28, 0, 18, 45}},
                                         // A's outer right edge meets the content box's right edge.
                                         tStacking{RightToLeft, {65, 2, 20, 10}, {42, 0, 18, 45}},
                                         tStacking{TopToBottom, {1, 2, 20, 10}, {0, 17, 88, 18}},
                                         tStacking{BottomToTop, {1, 34, 20, 10}, {0, 10, 88, 18}}),
                         [](const testing::TestParamInfo<tStacking>& test) { return nameOf(test.param); });

TEST_F(BarStacking, HiddenAndFloatingChildrenTakeNoSpace)
{
    build(RowSheet + std::string("Bar#Floater { x: 40; y: 30; width: 9; height: 9; }\n"));
    auto row = bar(*root, "Row", LeftToRight);
    auto hidden = bar(*row, "Hidden");
    auto floater = bar(*row, "Floater");
    auto b = bar(*row, "B");
    hidden->setVisible(false);
    frame();
    EXPECT_EQ(placeOf(*b), (tPlace{0, 0, 18, 45})) << "no space and no spacing for the others";
    EXPECT_EQ(placeOf(*floater), (tPlace{40, 30, 9, 9}));
    EXPECT_TRUE(floater->isFloating());

    hidden->setVisible(true);
    frame();
    EXPECT_EQ(placeOf(*b), (tPlace{22, 0, 18, 45})) << "shown again, it takes its place";
}

TEST_F(BarStacking, AVerticalBarStretchesChildrenToItsContentWidthLessTheirOuterMargins)
{
    build("Bar#Body { width: 609; margin-left: 19; margin-right: 18; }\n"
          "Bar#Indented { outer-margin-left: 4; outer-margin-right: 6; }\n"
          "Bar#Pinned { width: 200; }\n",
          {628, 336});
    auto body = bar(*root, "Body");
    auto plain = bar(*body, "Plain");
    auto indented = bar(*body, "Indented");
    auto pinned = bar(*body, "Pinned");
    frame();
    EXPECT_EQ(plain->width(), 572);
    EXPECT_EQ(indented->width(), 562);
    EXPECT_EQ(pinned->width(), 200) << "a width from the stylesheet is kept";
}

TEST_F(BarStacking, NegativeOuterMarginsOverlapTheNeighbours)
{
    build("Bar#Row { width: 100; height: 20; }\n"
          "Bar#A { width: 30; outer-margin-right: -10; }\n"
          "Bar#B { width: 30; outer-margin-left: -5; }\n");
    auto row = bar(*root, "Row", LeftToRight);
    bar(*row, "A");
    auto b = bar(*row, "B");
    frame();
    EXPECT_EQ(placeOf(*b), (tPlace{15, 0, 30, 20}));
}

TEST_F(BarStacking, TheFlexibleChildTakesTheLengthTheOthersLeave)
{
    build("Bar#Row { width: 100; height: 20; margin-left: 5; margin-right: 5; spacing: 2; }\n"
          "Bar#A { width: 30; } Bar#C { width: 10; outer-margin-left: 3; }\n");
    auto row = bar(*root, "Row", LeftToRight);
    bar(*row, "A");
    auto flexible = bar(*row, "B");
    auto c = bar(*row, "C");
    row->setFlexibleChild(1);
    frame();
    // 90 of content less A (30 + 2) and C (13 + 2).
    EXPECT_EQ(placeOf(*flexible), (tPlace{32, 0, 43, 20}));
    EXPECT_EQ(placeOf(*c), (tPlace{80, 0, 10, 20}));

    row->setFlexibleChild(7);
    frame();
    EXPECT_EQ(flexible->width(), 43) << "an index out of range is no flexible child";
}

TEST_F(BarStacking, AutomaticBreadthFitsTheBroadestShownChildFloatingOnesIncluded)
{
    build("Bar#Row { margin-top: 2; margin-bottom: 3; }\n"
          "Bar#A { height: 10; outer-margin-top: 1; } Bar#B { height: 14; }\n"
          "Bar#Floater { x: 0; y: 0; height: 20; } Bar#Hidden { height: 50; }\n"
          "Bar#Empty { min-height: 0; }\n");
    auto row = bar(*root, "Row", LeftToRight);
    row->setAutoBreadth();
    auto empty = bar(*root, "Empty", LeftToRight);
    empty->setAutoBreadth();
    empty->setMargins({0, 4, 0, 6});
    bar(*row, "A");
    bar(*row, "B");
    auto floater = bar(*row, "Floater");
    bar(*row, "Hidden")->setVisible(false);
    frame();
    EXPECT_EQ(row->height(), 25);
    EXPECT_EQ(empty->height(), 10) << "no child: just the two margins";

    floater->setVisible(false);
    frame();
    EXPECT_EQ(row->height(), 19);
}

TEST_F(BarStacking, AutomaticLengthSumsTheStackedChildren)
{
    build("Bar#A { width: 30; } Bar#B { width: 12; outer-margin-left: 2; }\n");
    auto row = bar(*root, "Row", LeftToRight);
    row->setAutoLength(true);
    row->setMargins({1, 0, 1, 0});
    bar(*row, "A");
    bar(*row, "B");
    frame();
    EXPECT_EQ(row->width(), 46);
    row->setWidth(300);
    EXPECT_EQ(row->width(), 46) << "the parent's stacking cannot set it";
}

TEST_F(BarStacking, StylesheetSizesContradictingAutomaticOnesAreReported)
{
    build("Bar { spacing: 1; }\n"
          "Bar#Row\n{ height: 22; }\n"
          "Bar#Column { height: 40; }\n");
    auto row = bar(*root, "Row", LeftToRight);
    row->setAutoBreadth();
    auto column = bar(*root, "Column");
    column->setAutoLength(true);
    column->setFlexibleChild(0);
    frame();
    const std::vector<std::string> expected = {
        "Layout contradiction - height of Bar Row is given at line Test.txt:2 of the stylesheet but also "
        "computed automatically by styleBreadthXXX!!!",
        " Layout contradiction - Bar Column has a flexible element, but is also computed automatically by "
        "styleLengthXXX!!!",
        "Layout contradiction - height of Bar Column is given at line Test.txt:4 of the stylesheet but also "
        "computed automatically by styleLengthXXX!!!"};
    EXPECT_EQ(warnings.warnings, expected);
    EXPECT_EQ(row->height(), 22) << "the stylesheet's value stays in force";
}

} // namespace
} // namespace Trellis
