#include "StyleTestBuilder.h"

#include <trellis/DefaultFont.h>
#include <trellis/LazyPicture.h>
#include <trellis/StyleComposer.h>

#include <casement/Font.h>
#include <casement/FontEngine.h>
#include <casement/PictureProperties.h>

namespace Trellis {
namespace {

using namespace Testing;

class StyleComposition : public StyleTest {
protected:
    std::vector<ParsedProperty> compose(const tDeclarations& declarations)
    {
        return composeProperties(style({selector()}, declarations), *resources);
    }

    const tPropertyValue* composed(const tDeclarations& declarations, const std::string& name)
    {
        made = compose(declarations);
        for (const ParsedProperty& property : made) {
            if (property.name == PooledName(name)) {
                return &property.value;
            }
        }
        return nullptr;
    }

    std::shared_ptr<Casement::Font> font(const std::string& name, std::int32_t id, std::int32_t size,
                                         std::uint32_t flags)
    {
        return resources->lookupFont({name, id, size, flags, Casement::FontEngine::instance().get()});
    }

    // The picture the container shares for that name and properties.
    std::shared_ptr<LazyPicture> picture(const std::string& name, std::uint32_t frames, std::uint32_t border = 0)
    {
        using P = Casement::PictureProperties;
        P properties;
        properties.setFrameCount(frames);
        if (border) {
            for (auto set : {&P::setTopBorder, &P::setBottomBorder, &P::setLeftBorder, &P::setRightBorder}) {
                (properties.*set)(border);
            }
            properties.setVerticallyStretchable(true);
            properties.setHorizontallyStretchable(true);
        }
        return resources->createPicture(name, properties);
    }

    std::vector<ParsedProperty> made;
};

TEST_F(StyleComposition, FontDeclarationsAccumulateIntoOneFont)
{
    const auto* value = composed({{"font-style", word("bold")}, {"font-style", word("italic")}}, "font");
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->unit, Property::UnitFont);
    const auto boldItalic = font("", 1, 12, FontDescription::Bold | FontDescription::Italic);
    EXPECT_EQ(*value, tPropertyValue(boldItalic, Property::UnitFont));

    const auto* sized = composed({{"font-size", number(13)}}, "font");
    ASSERT_NE(sized, nullptr);
    const auto builtIn = font("", 1, 13, 0);
    ASSERT_NE(builtIn, nullptr);
    EXPECT_EQ(*sized, tPropertyValue(builtIn, Property::UnitFont));

    const auto* named = composed(
        {{"font-name", url("corvel.ttf")}, {"font-size", px(13)}, {"font-hinting", boolean(true)}}, "font");
    ASSERT_NE(named, nullptr);
    EXPECT_EQ(*named, tPropertyValue(font("corvel.ttf", 0, 13, FontDescription::Hinting), Property::UnitFont));
    EXPECT_NE(font("corvel.ttf", 0, 13, FontDescription::Hinting), builtIn);
}

TEST_F(StyleComposition, NoFontRuleWhenNothingDiffersFromTheDefault)
{
    EXPECT_EQ(composed({{"font-size", number(12)}, {"font-style", word("plain")}}, "font"), nullptr);
    EXPECT_EQ(composed({{"font-size", decimal(13.0f)}, {"font-resid", px(2)}}, "font"), nullptr)
        << "a float size and a resource id in pixels are ignored";
    EXPECT_TRUE(compose({{"width", number(3)}}).empty());
}

TEST_F(StyleComposition, TheHintingSwitchChangesTheDefaultFont)
{
    EXPECT_EQ(defaultFontDescription().flags, 0u);
    setFontHinting(true);
    EXPECT_EQ(defaultFontDescription().flags, FontDescription::Hinting);
    EXPECT_EQ(composed({{"font-size", number(13)}}, "font")->value,
              tPropertyValue::tValue(font("", 1, 13, FontDescription::Hinting)));
    setFontHinting(false);
    EXPECT_EQ(defaultFontDescription().resourceId, 1);
    EXPECT_EQ(defaultFontDescription().size, 12);
}

TEST_F(StyleComposition, PicturesTakeTheirStylesFramesAndBorders)
{
    EXPECT_EQ(*composed({{"image", url("Busywheel.png")}, {"animations", number(7)}}, "picture"),
              tPropertyValue(picture("Busywheel.png", 7), Property::UnitPicture));
    EXPECT_EQ(*composed({{"fixed", px(6)}, {"image", url("Bg_Status.png")}}, "picture"),
              tPropertyValue(picture("Bg_Status.png", 1, 6), Property::UnitPicture));
    EXPECT_EQ(*composed({{"image", url("Logo.png")}, {"animations", px(7)}}, "picture"),
              tPropertyValue(picture("Logo.png", 1), Property::UnitPicture))
        << "frame counts are plain numbers";

    const auto* hidden = composed({{"image", word("no")}, {"dye-mask", url("Mask.png")}}, "picture");
    ASSERT_NE(hidden, nullptr);
    EXPECT_EQ(*hidden, tPropertyValue(std::shared_ptr<LazyPicture>(), Property::UnitPicture));
    EXPECT_EQ(made.size(), 2u);
    EXPECT_EQ(made[1].name, PooledName("dye-mask-picture"));
    EXPECT_EQ(composed({{"animations", number(3)}, {"fixed", number(2)}}, "picture"), nullptr);
}

TEST_F(StyleComposition, DisplacementsDefaultTheMissingCoordinateToZero)
{
    made = compose({{"relative-top", px(4)}, {"foreground-relative-left", number(-2)}, {"font-size", number(20)}});
    ASSERT_EQ(made.size(), 3u);
    EXPECT_EQ(made[0].name, PooledName("picture-displacement"));
    EXPECT_EQ(made[0].value, tPropertyValue(Casement::Point{0, 4}, Property::UnitPoint));
    EXPECT_EQ(made[1].name, PooledName("text-displacement"));
    EXPECT_EQ(made[1].value, tPropertyValue(Casement::Point{-2, 0}, Property::UnitPoint));
    EXPECT_EQ(made[2].name, PooledName("font"));
}

TEST_F(StyleComposition, AMoreSpecificStyleSelectsAFrameOrReplacesThePicture)
{
    load({style({selector().type("Button")}, {{"image", url("Button.png")}, {"animations", number(7)}}),
          style({selector().type("Button").id("ok")}, {{"animation-index", number(3)}}),
          style({selector().type("Button").id("quit")}, {{"image", url("Quit.png")}}),
          style({selector().type("Button").id("bare")}, {{"image", word("no")}})});
    auto ok = add("Button", "ok");
    const ComputedStyle& okStyle = resources->computeStyle(*ok);
    EXPECT_EQ(readSlot(*ok, okStyle.picture), picture("Button.png", 7));
    EXPECT_EQ(readSlot(*ok, okStyle.animationIndex), 3);

    auto quit = add("Button", "quit");
    EXPECT_EQ(readSlot(*quit, resources->computeStyle(*quit).picture), picture("Quit.png", 1));
    auto bare = add("Button", "bare");
    EXPECT_EQ(readSlot(*bare, resources->computeStyle(*bare).picture), nullptr);
}

TEST_F(StyleComposition, ComposedRulesFollowTheStylesOwnForEverySelector)
{
    load({style({selector().type("Label"), selector().type("Button")},
                {{"font-size", number(14)}, {"font-size", number(13)}})});
    auto label = add("Label");
    auto button = add("Button");
    ASSERT_NE(find(*label, "font"), nullptr);
    EXPECT_EQ(*find(*label, "font"), *find(*button, "font"));
    EXPECT_EQ(readScaledFont(*button, resources->computeStyle(*button))->size(), 13);
    EXPECT_EQ(*find(*label, "font-size"), number(14));
}

TEST_F(StyleComposition, AFontWhoseDataIsMissingLeavesTheLessSpecificFont)
{
    load({style({selector().type("Label")}, {{"font-size", number(15)}}),
          style({selector().type("Label").id("family")}, {{"font-family", word("Sans")}}),
          style({selector().type("Label").id("missing")}, {{"font-name", url("nope.ttf")}})});
    for (const char* id : {"family", "missing"}) {
        auto label = add("Label", id);
        const auto shown = readScaledFont(*label, resources->computeStyle(*label));
        ASSERT_NE(shown, nullptr) << id;
        EXPECT_EQ(shown->size(), 15) << id;
    }
}

} // namespace
} // namespace Trellis
