// How widgets read to a screen reader (role, name, text and states; which
// of them are published, and where), the text units a reader asks for, and
// the click that the "click" action makes on the mouse's road.
#include "TreeTestSupport.h"

#include <trellis/AccessiblePeer.h>
#include <trellis/Button.h>
#include <trellis/Label.h>
#include <trellis/MultilineText.h>

#include <functional>

namespace Trellis {
namespace {

using namespace Testing;

class AccessibleTree : public TreeTest {
protected:
    void SetUp() override { build("Button { width: 40; height: 20; }\nLabel { height: 20; }\n"); }
};

struct tDescriptionCase {
    const char* what;
    std::function<std::shared_ptr<Widget>(Widget& root, Pane& pane)> make;
    tAccessibleDescription expected;
};

TEST_F(AccessibleTree, AWidgetReadsAsItsRoleNameTextAndStates)
{
    constexpr std::uint32_t Shown = AccessibleShowing | AccessibleEnabled;
    const tDescriptionCase cases[] = {
        {"a label is named by its text",
         [](Widget& parent, Pane&) { return addText<Label>(parent, "L", "TROVIX"); },
         {eAccessibleRole::Label, "TROVIX", "", "TROVIX", Shown}},
        {"a field: its caption names it, its value is its text",
         [](Widget& parent, Pane&) {
             auto field = addText<Label>(parent, "F", "32");
             field->setAccessibleName("Installed Firmware");
             field->setAccessibleDescription("Not up to date");
             return field;
         },
         {eAccessibleRole::Label, "Installed Firmware", "Not up to date", "32", Shown}},
        {"a disabled label is still enabled",
         [](Widget& parent, Pane&) {
             auto label = addText<Label>(parent, "D", "Off");
             label->setEnabled(false);
             return label;
         },
         {eAccessibleRole::Label, "Off", "", "Off", Shown}},
        {"the focused button",
         [](Widget& parent, Pane& shownIn) {
             auto button = addText<Button>(parent, "B", "UPDATE");
             button->setFocusable(true);
             shownIn.setFocus(button.get());
             return button;
         },
         {eAccessibleRole::PushButton, "UPDATE", "", "", Shown | AccessibleFocusable | AccessibleFocused}},
        {"the focus widget of a window without the keyboard",
         [](Widget& parent, Pane& shownIn) {
             auto button = addText<Button>(parent, "B", "QUIT");
             button->setFocusable(true);
             shownIn.setFocus(button.get());
             shownIn.setKeyboardFocus(false);
             return button;
         },
         {eAccessibleRole::PushButton, "QUIT", "", "", Shown | AccessibleFocusable}},
        {"a button in a disabled bar",
         [](Widget& parent, Pane&) {
             auto bar = std::make_shared<Bar>();
             parent.addChild(bar, PooledName("Bar"));
             bar->setEnabled(false);
             return addText<Button>(*bar, "B", "RETRY");
         },
         {eAccessibleRole::PushButton, "RETRY", "", "", AccessibleShowing}},
        {"a hidden button",
         [](Widget& parent, Pane&) {
             auto button = addText<Button>(parent, "B", "RESCAN");
             button->setVisible(false);
             return button;
         },
         {eAccessibleRole::PushButton, "RESCAN", "", "", AccessibleEnabled}},
        {"a wrapped text is unnamed",
         [](Widget& parent, Pane&) { return addText<MultilineLabel>(parent, "M", "Please connect."); },
         {eAccessibleRole::Text, "", "", "Please connect.", Shown | AccessibleMultiLine}},
        {"a cover holding the keyboard is a modal dialog",
         [](Widget& parent, Pane& shownIn) {
             auto cover = addText<Button>(parent, "C", "");
             cover->setAccessibleRole(eAccessibleRole::Dialog);
             cover->setAccessibleName("About");
             shownIn.setFocusScope(cover.get());
             return cover;
         },
         {eAccessibleRole::Dialog, "About", "", "", Shown | AccessibleModal}},
        {"a named panel",
         [](Widget& parent, Pane&) {
             auto panel = std::make_shared<Bar>();
             parent.addChild(panel, PooledName("Panel"));
             panel->setAccessibleRole(eAccessibleRole::Panel);
             panel->setAccessibleName("Status");
             return panel;
         },
         {eAccessibleRole::Panel, "Status", "", "", Shown}},
    };
    for (const tDescriptionCase& each : cases) {
        const auto widget = each.make(*root, pane);
        EXPECT_EQ(describeAccessible(*widget), each.expected) << each.what;
        pane.setFocus(nullptr);
        pane.setFocusScope(nullptr);
        pane.setKeyboardFocus(true);
        root->removeChild(*widget);
    }
}

TEST_F(AccessibleTree, IgnoredWidgetsPassTheirChildrenUpAndHiddenOrEmptyOnesAreLeftOut)
{
    auto strip = bar(*root, "Strip");
    auto first = addText<Label>(*strip, "A", "A");
    addText<Label>(*strip, "Veil", "");
    addText<Button>(*strip, "Hidden", "H")->setVisible(false);
    auto hiddenBar = bar(*strip, "HiddenBar");
    addText<Label>(*hiddenBar, "Inside", "I");
    hiddenBar->setVisible(false);
    auto panel = bar(*root, "Panel");
    panel->setAccessibleRole(eAccessibleRole::Panel);
    auto inner = addText<Label>(*bar(*panel, "Row"), "B", "B");
    auto caption = addText<Label>(*root, "Caption", "C");
    caption->setAccessibleRole(eAccessibleRole::Ignored);

    EXPECT_EQ(accessibleTops(pane), (std::vector<Widget*>{first.get(), panel.get()}));
    EXPECT_EQ(accessibleChildren(*panel), std::vector<Widget*>{inner.get()});
    EXPECT_TRUE(accessibleChildren(*first).empty());
    pane.setFocusScope(panel.get());
    EXPECT_EQ(accessibleTops(pane), std::vector<Widget*>{panel.get()}) << "a modal part alone";
}

struct tUnitCase {
    int offset;
    AtkTextGranularity granularity;
    std::pair<int, int> expected;
};

TEST(AccessibleText, AReaderGetsTheCharacterWordSentenceOrLineAtAnOffset)
{
    const std::string text = "Grüße big world. Next one\nSecond line";
    const tUnitCase cases[] = {
        {2, ATK_TEXT_GRANULARITY_CHAR, {2, 3}},
        {0, ATK_TEXT_GRANULARITY_WORD, {0, 6}},
        {5, ATK_TEXT_GRANULARITY_WORD, {0, 6}},
        {7, ATK_TEXT_GRANULARITY_WORD, {6, 10}},
        {3, ATK_TEXT_GRANULARITY_SENTENCE, {0, 17}},
        {18, ATK_TEXT_GRANULARITY_SENTENCE, {17, 26}},
        {10, ATK_TEXT_GRANULARITY_LINE, {0, 26}},
        {30, ATK_TEXT_GRANULARITY_LINE, {26, 37}},
        {30, ATK_TEXT_GRANULARITY_PARAGRAPH, {26, 37}},
        {37, ATK_TEXT_GRANULARITY_CHAR, {-1, -1}},
        {-1, ATK_TEXT_GRANULARITY_WORD, {-1, -1}},
    };
    for (const tUnitCase& each : cases) {
        EXPECT_EQ(DETAIL::textUnitAt(text, each.offset, each.granularity, {}), each.expected)
            << "offset " << each.offset << ", granularity " << each.granularity;
    }
    EXPECT_EQ(DETAIL::textUnitAt(text, 12, ATK_TEXT_GRANULARITY_LINE, {{0, 10}, {10, 26}}), std::pair(10, 26))
        << "the lines as shown, when given";
}

// A 40 x 20 button at the top left, whose clicks are counted.
class ClickAsIfPointed : public AccessibleTree {
protected:
    void SetUp() override
    {
        AccessibleTree::SetUp();
        button = addText<Button>(*root, "B", "OK");
        button->clicked.connect([this](const ButtonImpl::tSignalData& data) {
            ++clicks;
            fromMouse = data.fromMouse != 0;
        });
        frame();
    }

    std::shared_ptr<Button> button;
    int clicks = 0;
    bool fromMouse = false;
};

TEST_F(ClickAsIfPointed, ClicksAShownButtonAsTheMouseDoesAndLeavesThePointerWhereItWas)
{
    move(150, 80);
    EXPECT_TRUE(pane.clickAsIfPointed(*button));
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(fromMouse);
    EXPECT_EQ(pane.hoverWidget(), root.get());
    EXPECT_EQ(pane.pressedWidget(), nullptr);
    EXPECT_FALSE(pane.isMouseButtonHeld());
}

TEST_F(ClickAsIfPointed, DoesNothingWhereAMouseClickWouldNotReachTheButton)
{
    std::shared_ptr<Button> cover;
    const struct {
        const char* what;
        std::function<void()> change;
        std::function<void()> undo;
    } cases[] = {
        {"hidden", [this] { button->setVisible(false); }, [this] { button->setVisible(true); }},
        {"disabled", [this] { button->setEnabled(false); }, [this] { button->setEnabled(true); }},
        {"covered", [&] { (cover = addText<Button>(*root, "Cover", ""))->setFloating(true); },
         [&] { root->removeChild(*cover); }},
        {"a mouse button held", [this] { mouse(Casement::tMouseButtonEvent::Press, 150, 80); },
         [this] { mouse(Casement::tMouseButtonEvent::Release, 150, 80); }},
    };
    for (const auto& each : cases) {
        each.change();
        frame();
        EXPECT_FALSE(pane.clickAsIfPointed(*button)) << each.what;
        EXPECT_EQ(clicks, 0) << each.what;
        each.undo();
        frame();
    }
    EXPECT_TRUE(pane.clickAsIfPointed(*button)) << "every case undone";
}

} // namespace
} // namespace Trellis
