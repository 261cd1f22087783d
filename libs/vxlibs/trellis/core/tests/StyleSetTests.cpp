#include "StyleTestBuilder.h"

namespace Trellis {
namespace {

using namespace Testing;

class StyleSets : public StyleTest {
protected:
    StyleSets()
    {
        // Text in UTF-16 is refused by the parser.
        table.add("STYLESHEET", "WIDE.TXT", {0xFF, 0xFE, '*', 0, ' ', 0, '{', 0, '}', 0});
        module = table.module();
        resources.reset();
        resources = std::make_unique<ManagerContainer>(module);
        root = widget("Bar", true);
        pane.setRoot(root);
        load({style({selector().type("Button")}, {{"width", number(1)}})});
    }

    WarningCollector collector;
};

TEST_F(StyleSets, TheFirstContainerIsTheInstanceUntilDestroyed)
{
    EXPECT_EQ(ManagerContainer::instance(), resources.get());
    {
        ManagerContainer second(module);
        EXPECT_EQ(ManagerContainer::instance(), resources.get());
    }
    EXPECT_EQ(ManagerContainer::instance(), resources.get());
    ASSERT_EQ(resources->styleSets().size(), 1u);
    EXPECT_EQ(resources->styleSets().front().name, "");
}

TEST_F(StyleSets, AStyleSheetThatDoesNotLoadLeavesThePreviousRules)
{
    auto button = add("Button");
    manager().findRules(*button, PooledName("width"));
    resources->setStyleSheet("Missing.txt");
    EXPECT_EQ(resources->styleSets().front().name, "Missing.txt");
    EXPECT_EQ(collector.warnings, (std::vector<std::string>{
        "Trellis::ManagerContainer::getResourceStream - can't load linked resource Missing.txt"}));
    EXPECT_FALSE(manager().hasCachedMatches(*button)) << "the cache is emptied by every load";
    EXPECT_EQ(*find(*button, "width"), number(1));

    EXPECT_FALSE(manager().loadStyleSheet("Wide.txt"));
    EXPECT_EQ(*find(*button, "width"), number(1));
    EXPECT_TRUE(manager().importedSet().empty());
}

TEST_F(StyleSets, TheSameStyleSheetNameIsLoadedOnlyOnce)
{
    resources->setStyleSheet("Missing.txt");
    auto button = add("Button");
    manager().findRules(*button, PooledName("width"));
    resources->setStyleSheet("Missing.txt");
    EXPECT_EQ(collector.warnings.size(), 1u);
    EXPECT_TRUE(manager().hasCachedMatches(*button));
}

TEST_F(StyleSets, ComputeStyleRebuildsFromTheRulesOfTheMoment)
{
    auto button = add("Button");
    EXPECT_TRUE(resources->computeStyle(*button).colours[ComputedStyle::BackgroundColour].entries.empty());
    load({style({selector().type("Button"), selector()}, {{"background-color", colour(0xFF101010)}})});
    const auto& entries = resources->computeStyle(*button).colours[ComputedStyle::BackgroundColour].entries;
    ASSERT_EQ(entries.size(), 2u) << "one entry per matching rule, most specific first";
    EXPECT_EQ(entries[0].value, 0xFF101010u);
}

} // namespace
} // namespace Trellis
