#include "StyleTestBuilder.h"

#include <trellis/ComputedStyle.h>
#include <trellis/PropertyReaders.h>
#include <trellis/StyleLookups.h>

#include <casement/Font.h>

namespace Trellis {
namespace {

using namespace Testing;

TEST(PropertyReaders, IntegersAndColoursAcceptTheirUnitOrAnyAndTheWordNo)
{
    EXPECT_EQ(readInteger(px(609), std::nullopt), 609);
    EXPECT_EQ(readInteger(percent(609), std::nullopt), 609);
    EXPECT_EQ(readInteger(px(3), Property::UnitNone), std::nullopt);
    EXPECT_EQ(readInteger(number(3), Property::UnitNone), 3);
    EXPECT_EQ(readInteger(word("no"), Property::UnitNone), 0);
    EXPECT_EQ(readInteger(decimal(1.5f, Property::UnitPx), std::nullopt), std::nullopt);
    EXPECT_EQ(readInteger(tPropertyValue{}, std::nullopt), std::nullopt);
    EXPECT_EQ(readInteger(word("none"), std::nullopt), std::nullopt);

    EXPECT_EQ(readColour(colour(0x80000000), true), 0x80000000u);
    EXPECT_EQ(readColour(tPropertyValue{0xFFu, Property::UnitNone}, true), std::nullopt);
    EXPECT_EQ(readColour(tPropertyValue{0xFFu, Property::UnitNone}, false), 0xFFu);
    EXPECT_EQ(readColour(word("no"), true), 0u);
    EXPECT_EQ(readColour(number(5), false), std::nullopt);
}

TEST(PropertyReaders, BoolsTextsAndAlignmentWords)
{
    const tPropertyValue two{2u, Property::UnitNone};
    for (const auto& yes : {boolean(true), word("yes"), word("true"), number(1), two}) {
        EXPECT_EQ(readBool(yes), true);
    }
    for (const auto& no : {boolean(false), word("no"), word("false"), number(0)}) {
        EXPECT_EQ(readBool(no), false);
    }
    EXPECT_EQ(readBool(px(1)), std::nullopt);
    EXPECT_EQ(readBool(url("yes")), std::nullopt);
    EXPECT_EQ(readBool(word("maybe")), std::nullopt);

    EXPECT_EQ(readText(word("no")), "no");
    EXPECT_EQ(readText(url("a.png")), "a.png");
    EXPECT_EQ(readText(number(1)), std::nullopt);

    EXPECT_EQ(readHorizontalAlignment(word("right")), 1u);
    EXPECT_EQ(readHorizontalAlignment(word("center")), 0u);
    EXPECT_EQ(readHorizontalAlignment(word("centre")), 4096u);
    EXPECT_EQ(readHorizontalAlignment(url("right")), std::nullopt);
    EXPECT_EQ(readVerticalAlignment(word("top")), 256u);
    EXPECT_EQ(readVerticalAlignment(word("bottom")), 16u);
    EXPECT_EQ(readVerticalAlignment(word("center")), 0u);
    EXPECT_EQ(readVerticalAlignment(word("middle")), 4096u);
}

class StyleReading : public StyleTest {
protected:
    const ComputedStyle& computed(const Widget& widget) { return resources->computeStyle(widget); }
};

TEST_F(StyleReading, ASlotPassesOverAValueOfTheWrongUnitWhereANamedLookUpStops)
{
    load({style({selector().type("Button")}, {{"background-color", colour(0xFF112233)},
                                              {"animation-index", number(2)},
                                              {"width", number(10)}}),
          style({selector().type("Button").id("ok")}, {{"background-color", number(5)},
                                                        {"animation-index", px(4)},
                                                        {"width", decimal(1.5f, Property::UnitPx)}})});
    auto ok = add("Button", "ok");
    EXPECT_EQ(readSlot(*ok, computed(*ok).colours[ComputedStyle::BackgroundColour]), 0xFF112233u);
    EXPECT_EQ(readSlot(*ok, computed(*ok).animationIndex), 2);

    std::int32_t width = 77;
    EXPECT_FALSE(lookupInteger(*ok, PooledName("width"), width)) << "1.5px hides the less specific 10";
    EXPECT_EQ(width, 77);
    std::uint32_t background = 9;
    EXPECT_FALSE(lookupColour(*ok, PooledName("background-color"), background)) << "an int is no colour";
    EXPECT_EQ(background, 9u);
    EXPECT_TRUE(lookupInteger(*ok, PooledName("animation-index"), width)) << "named look-ups take any unit";
    EXPECT_EQ(width, 4);
    EXPECT_TRUE(lookupInteger(*add("Button"), PooledName("width"), width));
    EXPECT_EQ(width, 10);
    bool missing = true;
    EXPECT_FALSE(lookupBool(*ok, PooledName("draw_foreground"), missing));
    EXPECT_TRUE(missing);
}

TEST_F(StyleReading, TheWordNoHidesALessSpecificColour)
{
    load({style({selector()}, {{"background-color", colour(0xFFC0C0C0)}, {"foreground-color", colour(0xFF000000)}}),
          style({selector().id("bare")}, {{"background-color", word("no")}, {"foreground-color", word("no")}})});
    auto bare = add("Label", "bare");
    EXPECT_EQ(readSlot(*bare, computed(*bare).colours[ComputedStyle::BackgroundColour]), 0u);
    EXPECT_EQ(readSlot(*bare, computed(*bare).colours[ComputedStyle::ForegroundColour]), 0u);
    auto plain = add("Label");
    EXPECT_EQ(readSlot(*plain, computed(*plain).colours[ComputedStyle::BackgroundColour]), 0xFFC0C0C0u);
}

TEST_F(StyleReading, PictureIncludesMarginReadsTrueYesAndOneButPassesOverPixels)
{
    load({style({selector().id("px")}, {{"picture-includes-margin", px(1)}}),
          style({selector().id("true")}, {{"picture-includes-margin", boolean(true)}}),
          style({selector().id("yes")}, {{"picture-includes-margin", word("yes")}}),
          style({selector().id("one")}, {{"picture-includes-margin", number(1)}})});
    for (const char* id : {"true", "yes", "one"}) {
        auto label = add("Label", id);
        EXPECT_TRUE(readSlot(*label, computed(*label).pictureIncludesMargin)) << id;
    }
    auto pixels = add("Label", "px");
    EXPECT_TRUE(computed(*pixels).pictureIncludesMargin.entries.empty());
    EXPECT_FALSE(readSlot(*pixels, computed(*pixels).pictureIncludesMargin));
}

TEST_F(StyleReading, AlignmentAndEmptySlotsFallBackToTheirDefaults)
{
    load({style({selector().id("misspelt")}, {{"horizontal-alignment", word("centre")}}),
          style({selector().id("centred")}, {{"horizontal-alignment", word("center")},
                                             {"vertical-alignment", word("bottom")}})});
    auto misspelt = add("Label", "misspelt");
    EXPECT_EQ(readSlot(*misspelt, computed(*misspelt).horizontalAlignment), 4096u);
    auto centred = add("Label", "centred");
    EXPECT_EQ(readSlot(*centred, computed(*centred).horizontalAlignment), 0u);
    EXPECT_EQ(readSlot(*centred, computed(*centred).verticalAlignment), 16u);
    EXPECT_EQ(readAlignment(*misspelt, computed(*misspelt)), 4096u);
    EXPECT_EQ(readAlignment(*centred, computed(*centred)), 16u);

    auto plain = add("Label");
    const ComputedStyle& none = computed(*plain);
    EXPECT_EQ(readSlot(*plain, none.horizontalAlignment), 4096u);
    EXPECT_EQ(readSlot(*plain, none.verticalAlignment), 0u);
    EXPECT_EQ(readSlot(*plain, none.picture), nullptr);
    EXPECT_EQ(readSlot(*plain, none.textDisplacement), (Casement::Point{0, 0}));
    const auto font = readScaledFont(*plain, none);
    ASSERT_NE(font, nullptr) << "the default font";
    EXPECT_EQ(font->size(), 12);
}

// An unknown vertical word centres vertically and leaves the horizontal
// alignment as its own rule gives it.
TEST_F(StyleReading, AnUnknownVerticalWordKeepsTheHorizontalAlignment)
{
    const struct {
        const char* horizontal;
        const char* vertical;
        std::uint32_t alignment;
    } cases[] = {
        {"right", "middle", 1u}, {"center", "middle", 0u}, {"left", "middle", 4096u},
        {"right", "bottom", 17u}, {"center", "top", 256u},
    };
    std::vector<ParsedStyle> styles;
    for (const auto& each : cases) {
        const std::string id = std::string(each.horizontal) + "-" + each.vertical;
        styles.push_back(style({selector().id(id)}, {{"horizontal-alignment", word(each.horizontal)},
                                                             {"vertical-alignment", word(each.vertical)}}));
    }
    load(styles);
    for (const auto& each : cases) {
        const std::string id = std::string(each.horizontal) + "-" + each.vertical;
        auto label = add("Label", id);
        EXPECT_EQ(readAlignment(*label, computed(*label)), each.alignment) << id;
    }
}

TEST_F(StyleReading, APaletteColourComesFromTheRootWidget)
{
    load({style({selector().type("Bar")}, {{"palette2-color3", colour(0xFF00FF00)}}),
          style({selector().type("Button")}, {{"dye-color", colour(0xFF0000FF)}, {"dye-color-palette", number(2)}}),
          style({selector().type("Label")}, {{"dye-color", colour(0xFF0000FF)}})});
    auto button = add("Button");
    EXPECT_EQ(readPaletteColour(*button, computed(*button), ComputedStyle::DyeColour, 3), 0xFF00FF00u);
    EXPECT_EQ(readPaletteColour(*button, computed(*button), ComputedStyle::DyeColour, 4), 0xFF0000FFu)
        << "no such entry in the palette";
    auto label = add("Label");
    EXPECT_EQ(readPaletteColour(*label, computed(*label), ComputedStyle::DyeColour, 3), 0xFF0000FFu);
}

TEST_F(StyleReading, AFontIsScaledByItsPaneWithoutResizingItForOthers)
{
    load({style({selector().type("Label")}, {{"font-size", number(13)}})});
    auto label = add("Label");
    const ComputedStyle& style = computed(*label);
    Pane other;
    auto elsewhere = widget("Label");
    other.setRoot(elsewhere);
    const auto shared = readScaledFont(*elsewhere, resources->computeStyle(*elsewhere));

    pane.setScale(2.0f);
    const auto font = readScaledFont(*label, style);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font, shared) << "one font object per description";
    EXPECT_EQ(font->scale(), 2.0f);
    EXPECT_EQ(font->size(), 13);
    EXPECT_EQ(readScaledFont(*elsewhere, resources->computeStyle(*elsewhere))->scale(), 1.0f);
    EXPECT_EQ(font->size(), 13);
}

} // namespace
} // namespace Trellis
