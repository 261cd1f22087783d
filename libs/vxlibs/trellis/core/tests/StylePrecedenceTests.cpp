#include "StyleTestBuilder.h"

#include <trellis/StyleMatching.h>

namespace Trellis {
namespace {

using namespace Testing;

class StylePrecedence : public StyleTest {
protected:
    std::uint32_t background(const Widget& widget)
    {
        return readSlot(widget, resources->computeStyle(widget).colours[ComputedStyle::BackgroundColour]);
    }
};

TEST(StyleSpecificity, CountsStatesIdsStyleNamesAttributesAndTypes)
{
    EXPECT_EQ(selectorSpecificity(selector()), 0u);
    EXPECT_EQ(selectorSpecificity(selector().type("Button").state(StateSelected).state(StateOver, false)), 513u);
    // Two conditions on one attribute name count once.
    const ParsedSelector full = selector()
                                    .type("Bar").id("top")
                                    .descendant().style("Big").attribute("a", "1").attribute("b", "2")
                                    .attribute("b", "x", AttibuteSelector::RuleContains)
                                    .child().id("inc").state(StateDown);
    EXPECT_EQ(selectorSpecificity(full), 2u * 16777216u + 65536u + 2u * 16u + 1u + 256u);
}

TEST_F(StylePrecedence, DownBeatsOverWrittenLaterAndSelectedOverBeatsBoth)
{
    load({style({selector().type("Button").state(StateDown)}, {{"background-color", colour(0xFF000001)}}),
          style({selector().type("Button").state(StateOver)}, {{"background-color", colour(0xFF000002)}}),
          style({selector().type("Button").state(StateSelected).state(StateOver)},
                {{"background-color", colour(0xFF000003)}})});
    auto button = add("Button");
    pane.setHoverWidget(button.get());
    pane.setPressedWidget(button.get());
    pane.pressMouseButton(1);
    EXPECT_EQ(background(*button), 0xFF000001u);
    EXPECT_EQ(*find(*button, "background-color"), colour(0xFF000001));
    button->setSelected(true);
    EXPECT_EQ(background(*button), 0xFF000003u);
}

TEST_F(StylePrecedence, AmongEquallySpecificRulesTheFirstWrittenWins)
{
    load({style({selector().type("Button")}, {{"width", number(1)}, {"width", number(2)}}),
          style({selector().type("Label"), selector().type("Button")}, {{"width", number(3)}}),
          style({selector().type("Button").id("ok")}, {{"width", number(4)}})});
    EXPECT_EQ(*find(*add("Button"), "width"), number(1));
    EXPECT_EQ(*find(*add("Label"), "width"), number(3));
    EXPECT_EQ(*find(*add("Button", "ok"), "width"), number(4)) << "more specific, though written last";
}

// Enough rules of three specificities, written interleaved, that an order
// kept only for short lists would show.
TEST_F(StylePrecedence, RulesListMoreSpecificFirstAndEquallySpecificInWrittenOrder)
{
    constexpr int Count = 90;
    const ParsedSelector bySpecificity[] = {selector(), selector().type("Button"), selector().type("Button").id("ok")};
    std::vector<ParsedStyle> styles;
    for (int i = 0; i < Count; ++i) {
        styles.push_back(style({bySpecificity[i % 3]}, {{"width", number(i)}}));
    }
    load(styles);
    std::vector<tPropertyValue> expected;
    for (int rest : {2, 1, 0}) {
        for (int i = rest; i < Count; i += 3) {
            expected.push_back(number(i));
        }
    }
    std::vector<tPropertyValue> listed;
    for (const StyleRule* rule : manager().findRules(*add("Button", "ok"), PooledName("width"))) {
        listed.push_back(rule->value);
    }
    EXPECT_EQ(listed, expected);
}

TEST_F(StylePrecedence, StatesAreReadWhenTheSlotIsReadWithoutRecomputing)
{
    load({style({selector()}, {{"background-color", colour(0xFFC0C0C0)}}),
          style({selector().state(StateDown)}, {{"background-color", colour(0xFFB0B0B0)}}),
          style({selector().state(StateOver)}, {{"background-color", colour(0xFFD0D0D0)}})});
    auto button = add("Button");
    const ComputedStyle& computed = resources->computeStyle(*button);
    const auto& slot = computed.colours[ComputedStyle::BackgroundColour];
    EXPECT_EQ(readSlot(*button, slot), 0xFFC0C0C0u);
    pane.setHoverWidget(button.get());
    EXPECT_EQ(readSlot(*button, slot), 0xFFD0D0D0u);
    pane.setPressedWidget(button.get());
    EXPECT_EQ(readSlot(*button, slot), 0xFFD0D0D0u) << "pressed only while a button is held";
    pane.pressMouseButton(1);
    EXPECT_EQ(readSlot(*button, slot), 0xFFB0B0B0u);
    pane.releaseMouseButton(1);
    pane.setHoverWidget(nullptr);
    EXPECT_EQ(readSlot(*button, slot), 0xFFC0C0C0u);
    EXPECT_EQ(resources->computedStyle(*button), &computed);
}

TEST_F(StylePrecedence, NotEnabledHoldsInsideADisabledParent)
{
    load({style({selector().type("Button").state(StateEnabled, false)}, {{"animation-index", number(2)}})});
    auto bar = add("Bar");
    auto button = add("Button", "", bar.get());
    EXPECT_EQ(find(*button, "animation-index"), nullptr);
    bar->setEnabled(false);
    ASSERT_NE(find(*button, "animation-index"), nullptr);
    EXPECT_EQ(readSlot(*button, resources->computeStyle(*button).animationIndex), 2);
    EXPECT_NE(button->flags() & Widget::OwnEnabled, 0u);
}

TEST_F(StylePrecedence, AttributeConditionsAreCheckedAgainWhenTheStyleIsRebuilt)
{
    load({style({selector().type("Bar").id("InfoPanel").attribute("background", "error")},
                {{"animation-index", number(0)}}),
          style({selector().type("Bar").id("InfoPanel").attribute("background", "ok")},
                {{"animation-index", number(1)}})});
    auto info = add("Bar", "InfoPanel");
    auto icon = add("Label", "", info.get());
    info->setAttribute("background", "error");
    EXPECT_EQ(readSlot(*info, resources->computeStyle(*info).animationIndex), 0);

    resources->computeStyle(*icon);
    info->setAttribute("background", "ok");
    EXPECT_TRUE(info->isStyleOutOfDate());
    EXPECT_TRUE(icon->isStyleOutOfDate());
    EXPECT_EQ(readSlot(*info, resources->computedStyle(*info)->animationIndex), 0) << "until rebuilt";
    EXPECT_EQ(readSlot(*info, resources->computeStyle(*info).animationIndex), 1);
}

TEST_F(StylePrecedence, APaneWithAStyleManagerOfItsOwnUsesOnlyThat)
{
    load({style({selector().type("Button")}, {{"width", number(1)}})});
    auto button = add("Button");
    EXPECT_EQ(*find(*button, "width"), number(1));

    auto own = std::make_unique<StyleManager>(*resources);
    own->applyStyles({style({selector().type("Button")}, {{"height", number(2)}})});
    StyleManager& ownManager = *own;
    pane.setStyleManager(std::move(own));
    EXPECT_EQ(resources->styleManagerFor(*button), &ownManager);
    EXPECT_EQ(ownManager.findProperty(*button, PooledName("width")), nullptr);
    EXPECT_EQ(*ownManager.findProperty(*button, PooledName("height")), number(2));
    EXPECT_FALSE(manager().hasCachedMatches(*button));
}

} // namespace
} // namespace Trellis
