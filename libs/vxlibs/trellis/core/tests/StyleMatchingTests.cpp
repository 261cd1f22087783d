#include "StyleTestBuilder.h"

#include <trellis/StyleMatching.h>

namespace Trellis {
namespace {

using namespace Testing;

class StyleMatching : public StyleTest {
protected:
    bool matches(const ParsedSelector& selector, const Widget& widget)
    {
        return selectorMatches(selector, widget, true);
    }
};

TEST_F(StyleMatching, ChildAndDescendantRelationsFollowTheTree)
{
    // Bar#DesignWidget Scrollbar[isHorizontal=false]::Button#inc
    const ParsedSelector incButton = selector()
                                         .type("Bar").id("DesignWidget")
                                         .descendant().type("Scrollbar").attribute("isHorizontal", "false")
                                         .child().type("Button").id("inc");
    auto design = add("Bar", "DesignWidget");
    auto middle = add("Bar", "", design.get());
    auto scrollbar = widget("Scrollbar", false);
    middle->addChild(scrollbar, PooledName("bar"));
    auto inc = add("Button", "inc", scrollbar.get());
    EXPECT_TRUE(matches(incButton, *inc));

    auto wrapper = add("Bar", "", scrollbar.get());
    auto wrapped = add("Button", "inc", wrapper.get());
    EXPECT_FALSE(matches(incButton, *wrapped)) << "the Scrollbar must be the parent";

    auto horizontal = widget("Scrollbar", true);
    design->addChild(horizontal, PooledName("bar"));
    EXPECT_FALSE(matches(incButton, *add("Button", "inc", horizontal.get())));

    auto stray = widget("Scrollbar", false);
    root->addChild(stray, PooledName("bar"));
    EXPECT_FALSE(matches(incButton, *add("Button", "inc", stray.get()))) << "no DesignWidget above";
}

TEST_F(StyleMatching, TheFirstAncestorIsChosenAgainWhenTheRestFails)
{
    // Dialog::Bar Button: the nearest Bar's parent is not the Dialog, the next one's is.
    const ParsedSelector buttonInDialogBar =
        selector().type("Dialog").child().type("Bar").descendant().type("Button");
    auto dialog = add("Dialog");
    auto outer = add("Bar", "", dialog.get());
    auto inner = add("Bar", "", outer.get());
    auto button = add("Button", "", inner.get());
    EXPECT_TRUE(matches(buttonInDialogBar, *button));

    // A child step gives the first ancestor no choice.
    const ParsedSelector buttonChildOfDialogBar =
        selector().type("Dialog").child().type("Bar").child().type("Button");
    EXPECT_FALSE(matches(buttonChildOfDialogBar, *button));
    EXPECT_TRUE(matches(buttonChildOfDialogBar, *add("Button", "", outer.get())));
}

TEST_F(StyleMatching, ADescendantSelectorSparesTheAncestorItself)
{
    const ParsedSelector belowDesign = selector().id("DesignWidget").descendant();
    auto design = add("Bar", "DesignWidget");
    auto label = add("Label", "", design.get());
    EXPECT_FALSE(matches(belowDesign, *design));
    EXPECT_TRUE(matches(belowDesign, *label));
    EXPECT_TRUE(matches(belowDesign, *add("Button", "", label.get())));
    EXPECT_FALSE(matches(belowDesign, *add("Label")));
}

TEST_F(StyleMatching, ATemplateTypeIsMatchedWholeOrByItsName)
{
    auto tree = add("tree<Bar>");
    EXPECT_TRUE(matches(selector().type("tree<Bar>"), *tree));
    EXPECT_TRUE(matches(selector().type("tree"), *tree));
    EXPECT_FALSE(matches(selector().type("Bar"), *tree));
    EXPECT_FALSE(matches(selector().type("tree<Label>"), *tree));
    EXPECT_FALSE(matches(selector().type("tree"), *add("treeview")));
}

TEST_F(StyleMatching, IdsAndStyleNamesAreComparedExactly)
{
    auto button = add("Button", "ok");
    button->setStyle("Big");
    EXPECT_TRUE(matches(selector().type("Button").style("Big").id("ok"), *button));
    EXPECT_FALSE(matches(selector().style("big"), *button));
    EXPECT_FALSE(matches(selector().id("cancel"), *button));
    EXPECT_FALSE(matches(selector().type("button"), *button));
}

TEST_F(StyleMatching, BuiltInAttributesAnswerUnlessTheWidgetHoldsTheName)
{
    auto label = add("Label", "title");
    label->setStyle("Heading");
    EXPECT_TRUE(matches(selector().attribute("getClass", "Label").attribute("getId", "title"), *label));
    EXPECT_TRUE(matches(selector().attribute("getStyle", "Heading"), *label));
    // Only widgets that stack in a direction answer isHorizontal.
    EXPECT_FALSE(matches(selector().attribute("isHorizontal", "false"), *label));
    EXPECT_FALSE(matches(selector().attribute("isHorizontal", "true"), *label));
    EXPECT_TRUE(matches(selector().attribute("isHorizontal", "yes"), *root));
    EXPECT_FALSE(matches(selector().attribute("isHorizontal", "false"), *root));
    EXPECT_FALSE(matches(selector().attribute("colour", "red"), *label));

    label->setAttribute("getClass", "Caption");
    EXPECT_TRUE(matches(selector().attribute("getClass", "Caption"), *label));
    EXPECT_FALSE(matches(selector().attribute("getClass", "Label"), *label));
}

TEST_F(StyleMatching, TextConditionsCompareBytesAndNotEqualNegatesEqual)
{
    auto panel = add("Bar");
    panel->setAttribute("background", "error");
    const auto holds = [&](const std::string& value, AttibuteSelector::eRule rule) {
        return matches(selector().attribute("background", value, rule), *panel);
    };
    EXPECT_TRUE(holds("err", AttibuteSelector::RuleBeginsWith));
    EXPECT_FALSE(holds("ror", AttibuteSelector::RuleBeginsWith));
    EXPECT_TRUE(holds("ror", AttibuteSelector::RuleEndsWith));
    EXPECT_TRUE(holds("rro", AttibuteSelector::RuleContains));
    EXPECT_FALSE(holds("Error", AttibuteSelector::RuleEqual));
    EXPECT_TRUE(holds("ok", AttibuteSelector::RuleNotEqual));
    EXPECT_FALSE(holds("error", AttibuteSelector::RuleNotEqual));
    // Every rule on one name must hold.
    EXPECT_FALSE(matches(selector()
                             .attribute("background", "err", AttibuteSelector::RuleBeginsWith)
                             .attribute("background", "x", AttibuteSelector::RuleEndsWith),
                         *panel));
}

TEST_F(StyleMatching, AWidgetOutsideAPaneMatchesNoRule)
{
    load({style({selector()}, {{"width", number(5)}})});
    auto loose = widget("Button");
    auto child = widget("Label");
    loose->addChild(child, PooledName("inner"));
    EXPECT_EQ(find(*loose, "width"), nullptr);
    EXPECT_EQ(find(*child, "width"), nullptr);
    EXPECT_FALSE(manager().hasCachedMatches(*loose));

    root->addChild(loose, PooledName("now"));
    ASSERT_NE(find(*child, "width"), nullptr);
    EXPECT_EQ(*find(*child, "width"), number(5));
}

} // namespace
} // namespace Trellis
