#include "StyleTestBuilder.h"

#include <trellis/DefaultStyleSheet.h>

namespace Trellis {
namespace {

using namespace Testing;

class WidgetIdentity : public StyleTest {
protected:
    // Fills the match cache of each widget.
    void match(std::initializer_list<const Widget*> widgets)
    {
        for (const Widget* each : widgets) {
            manager().findRules(*each, PooledName("width"));
        }
    }
};

TEST(Widget, StartsDetachedVisibleEnabledAndOutOfDate)
{
    Widget plain;
    EXPECT_EQ(plain.flags(), 0x8303Du);
    EXPECT_EQ(plain.getClass(), "");
    EXPECT_FALSE(plain.isDormant());
    EXPECT_EQ(plain.parent(), nullptr);
    EXPECT_EQ(plain.pane(), nullptr);
    EXPECT_TRUE(plain.id().empty());
    EXPECT_TRUE(plain.isInState(StateEnabled));
    EXPECT_FALSE(plain.isInState(StateOver));
}

TEST_F(WidgetIdentity, AddChildMovesTheChildWithItsSubtreeIntoThisPane)
{
    Pane otherPane;
    auto otherRoot = widget("Bar");
    otherPane.setRoot(otherRoot);
    auto moved = add("Bar", "first", otherRoot.get());
    auto inner = add("Label", "inner", moved.get());
    match({moved.get(), inner.get()});
    EXPECT_TRUE(manager().hasCachedMatches(*inner));

    auto panel = add("Bar", "panel");
    panel->addChild(moved, PooledName("second"));
    EXPECT_EQ(moved->id(), PooledName("second"));
    EXPECT_EQ(moved->parent(), panel.get());
    EXPECT_TRUE(otherRoot->children().empty());
    ASSERT_EQ(panel->children().size(), 1u);
    EXPECT_EQ(panel->children().front(), moved);
    EXPECT_EQ(inner->pane(), &pane);
    EXPECT_TRUE(inner->isStyleOutOfDate());
    EXPECT_FALSE(manager().hasCachedMatches(*inner));
    EXPECT_FALSE(manager().hasCachedMatches(*moved));

    panel->addChild(root, PooledName("cycle"));
    EXPECT_EQ(root->parent(), nullptr) << "a widget cannot take an ancestor as its child";
    moved->addChild(moved, PooledName("self"));
    EXPECT_EQ(moved->parent(), panel.get());
}

TEST_F(WidgetIdentity, SetStyleShrinksTheWidgetAndForgetsItsSubtree)
{
    auto panel = add("Bar");
    auto label = add("Label", "", panel.get());
    match({panel.get(), label.get()});
    panel->setStyle("Framed");
    EXPECT_EQ(panel->style(), PooledName("Framed"));
    EXPECT_EQ(panel->width(), 18);
    EXPECT_EQ(panel->minimumHeight(), 18);
    EXPECT_TRUE(label->isStyleOutOfDate());
    EXPECT_FALSE(manager().hasCachedMatches(*label));
    panel->setStyle(nullptr);
    EXPECT_EQ(panel->style(), PooledName("Framed"));
}

TEST_F(WidgetIdentity, AnAttributeIsStoredAndKeepsTheStructuralMatches)
{
    auto panel = add("Bar");
    auto label = add("Label", "", panel.get());
    panel->setAttribute("background", "error");
    ASSERT_NE(panel->attribute(PooledName("background")), nullptr);
    EXPECT_EQ(*panel->attribute(PooledName("background")), "error");
    EXPECT_EQ(label->attribute(PooledName("background")), nullptr);
    match({panel.get()});
    panel->setAttribute("background", "ok");
    EXPECT_EQ(*panel->attribute(PooledName("background")), "ok");
    EXPECT_TRUE(panel->isStyleOutOfDate());
    EXPECT_TRUE(label->isStyleOutOfDate());
    EXPECT_TRUE(manager().hasCachedMatches(*panel)) << "structure does not depend on attributes";
}

TEST_F(WidgetIdentity, ForgetWidgetDropsTheWholeSubtree)
{
    auto panel = add("Bar");
    auto label = add("Label", "", panel.get());
    auto sibling = add("Label");
    match({panel.get(), label.get(), sibling.get()});
    manager().forgetWidget(*panel);
    EXPECT_FALSE(manager().hasCachedMatches(*panel));
    EXPECT_FALSE(manager().hasCachedMatches(*label));
    EXPECT_TRUE(manager().hasCachedMatches(*sibling));
}

TEST_F(WidgetIdentity, LeavingThePaneAndDestructionForgetWhatWasKeptForTheWidget)
{
    auto button = add("Button");
    const Widget* address = button.get();
    resources->computeStyle(*button);
    match({button.get()});
    pane.setHoverWidget(button.get());
    pane.setPressedWidget(button.get());
    auto holder = widget("Bar");
    holder->addChild(button, PooledName("moved"));
    EXPECT_EQ(pane.hoverWidget(), nullptr);
    EXPECT_EQ(pane.pressedWidget(), nullptr);
    EXPECT_FALSE(manager().hasCachedMatches(*button));
    EXPECT_NE(resources->computedStyle(*button), nullptr);

    button.reset();
    holder.reset();
    EXPECT_EQ(resources->computedStyle(*address), nullptr);

    // A child kept alive by another handle outlives its parent.
    auto parent = widget("Bar");
    auto survivor = add("Label", "", parent.get());
    parent.reset();
    EXPECT_EQ(survivor->parent(), nullptr);
}

TEST_F(WidgetIdentity, APaneSetsAndClearsThePaneOfItsTree)
{
    auto panel = add("Bar");
    auto label = add("Label", "", panel.get());
    EXPECT_EQ(label->pane(), &pane);
    {
        Pane other;
        other.setRoot(panel);
        EXPECT_EQ(label->pane(), &other);
    }
    EXPECT_EQ(label->pane(), nullptr);
}

TEST(DefaultStyleSheet, IsTheFourLineTextOf346Characters)
{
    EXPECT_EQ(DefaultStyleSheet.size(), 346u);
    EXPECT_EQ(std::count(DefaultStyleSheet.begin(), DefaultStyleSheet.end(), '\n'), 4);
    EXPECT_TRUE(DefaultStyleSheet.starts_with(" * { background-color:rgb(192, 192, 192);"));
}

} // namespace
} // namespace Trellis
