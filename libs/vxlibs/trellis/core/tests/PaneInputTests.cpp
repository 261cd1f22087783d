// Mouse and keyboard input through a Pane, and widget ticks: what a person's
// clicks and the timer do to a styled tree.
#include "TreeTestSupport.h"

#include <trellis/WidgetEvents.h>
#include <trellis/WindowingPane.h>

#include <casement/WindowEvents.h>

#include <functional>
#include <string>

namespace Trellis {
namespace {

using namespace Testing;
using Casement::tMouseButtonEvent;

// A Bar that records the events it receives and may act on one.
class Recorder : public Bar {
public:
    struct tReceived {
        std::uint32_t code;
        std::int32_t x, y;
        bool operator==(const tReceived&) const = default;
    };

    void onEvent(std::uint32_t code, const void* data) override
    {
        const tWidgetMouseEvent none;
        const auto& event = data ? *static_cast<const tWidgetMouseEvent*>(data) : none;
        received.push_back({code, event.x, event.y});
        if (action && code == actOn) {
            action();
        }
    }
    bool onKey(std::uint32_t code, const void*) override
    {
        keys.push_back(code);
        return consumesKeys;
    }
    void onTick() override { ++ticks; }
    bool onDragEvent(std::uint32_t code, const Casement::tDragEvent& event) override
    {
        received.push_back({code, event.x, event.y});
        return Bar::onDragEvent(code, event);
    }

    std::vector<tReceived> received;
    std::vector<std::uint32_t> keys;
    std::uint32_t actOn = 0;
    std::function<void()> action;
    bool consumesKeys = false;
    int ticks = 0;
};

constexpr std::uint32_t LeftButton = tMouseButtonEvent::Left;
constexpr std::uint32_t RightButton = tMouseButtonEvent::Right;
constexpr std::uint32_t LeftPress = GesturePress + LeftButton;
constexpr std::uint32_t LeftRelease = GestureRelease + LeftButton;
constexpr std::uint32_t LeftClick = GestureClick + LeftButton;

// A 60 x 40 button at (20, 10) holding a disabled 20 x 20 label at (5, 5)
// of its content box, which starts after a 2-pixel margin.
class PaneInput : public TreeTest {
protected:
    void SetUp() override
    {
        build("Bar#Button { x: 20; y: 10; width: 60; height: 40; margin: 2; }\n"
              "Bar#Label { x: 5; y: 5; width: 20; height: 20; }\n"
              "Bar#Other { x: 100; y: 10; width: 30; height: 30; }\n");
        button = std::make_shared<Recorder>();
        root->addChild(button, PooledName("Button"));
        button->init(TopToBottom, nullptr);
        label = std::make_shared<Recorder>();
        button->addChild(label, PooledName("Label"));
        label->init(TopToBottom, nullptr);
        label->setEnabled(false);
        other = std::make_shared<Recorder>();
        root->addChild(other, PooledName("Other"));
        other->init(TopToBottom, nullptr);
        frame();
    }

    std::vector<std::uint32_t> codes(const Recorder& recorder)
    {
        std::vector<std::uint32_t> result;
        for (const auto& each : recorder.received) {
            result.push_back(each.code);
        }
        return result;
    }

    std::shared_ptr<Recorder> button;
    std::shared_ptr<Recorder> label;
    std::shared_ptr<Recorder> other;
};

TEST_F(PaneInput, AClickOnADisabledLabelReachesTheButtonAroundIt)
{
    // The label's absolute rectangle is (27, 17) to (47, 37).
    mouse(tMouseButtonEvent::Press, 30, 20);
    mouse(tMouseButtonEvent::Release, 31, 21);
    const std::vector<Recorder::tReceived> expected = {
        {PointerEntered, 10, 10}, {LeftPress, 10, 10}, {LeftRelease, 11, 11}, {LeftClick, 11, 11}};
    EXPECT_EQ(button->received, expected) << "positions are relative to the button";
    EXPECT_TRUE(label->received.empty());
    EXPECT_EQ(pane.hoverWidget(), button.get());
    EXPECT_EQ(pane.pressedWidget(), nullptr);
}

TEST_F(PaneInput, TheCapturingWidgetGetsMovesAndReleaseButNoClickOutside)
{
    mouse(tMouseButtonEvent::Press, 30, 20);
    move(110, 20);
    mouse(tMouseButtonEvent::Release, 110, 20);
    EXPECT_EQ(codes(*button), (std::vector<std::uint32_t>{PointerEntered, LeftPress, PointerLeft,
                                                           GestureDrag + LeftButton, LeftRelease}));
    EXPECT_EQ(codes(*other), (std::vector<std::uint32_t>{PointerEntered}));
}

TEST_F(PaneInput, ADoubleClickPressIsNotFollowedByAClick)
{
    mouse(tMouseButtonEvent::Press, 30, 20);
    mouse(tMouseButtonEvent::Release, 30, 20);
    mouse(tMouseButtonEvent::DoubleClick, 30, 20);
    mouse(tMouseButtonEvent::Release, 30, 20);
    mouse(tMouseButtonEvent::Press, 30, 20, tMouseButtonEvent::Right);
    mouse(tMouseButtonEvent::Release, 30, 20, tMouseButtonEvent::Right);
    EXPECT_EQ(codes(*button),
              (std::vector<std::uint32_t>{PointerEntered, LeftPress, LeftRelease, LeftClick,
                                          GestureDoubleClick + LeftButton, LeftRelease,
                                          GesturePress + RightButton,
                                          GestureRelease + RightButton,
                                          GestureClick + RightButton}));
}

TEST_F(PaneInput, AWidgetRemovedOrHiddenByItsOwnGestureIsLeftAlone)
{
    auto* raw = button.get();
    button->actOn = LeftRelease;
    button->action = [this, raw] { root->removeChild(*raw); };
    std::weak_ptr<Recorder> watch = button;
    button.reset();  // the tree holds the only handle
    mouse(tMouseButtonEvent::Press, 30, 20);
    mouse(tMouseButtonEvent::Release, 30, 20);
    EXPECT_TRUE(watch.expired()) << "destroyed once its handler returned";
    EXPECT_EQ(pane.hoverWidget(), nullptr);
    frame();

    other->actOn = LeftPress;
    other->action = [this] { other->setVisible(false); };
    mouse(tMouseButtonEvent::Press, 110, 20);
    mouse(tMouseButtonEvent::Release, 110, 20);
    EXPECT_EQ(codes(*other), (std::vector<std::uint32_t>{PointerEntered, LeftPress, PointerLeft, LeftRelease}))
        << "no click on a widget that is no longer under the pointer";
}

TEST_F(PaneInput, AHoveredWidgetThatIsHiddenIsNoLongerHovered)
{
    move(110, 20);
    ASSERT_EQ(pane.hoverWidget(), other.get());
    other->setVisible(false);
    frame();
    EXPECT_EQ(pane.hoverWidget(), nullptr);
    move(111, 20);
    EXPECT_EQ(pane.hoverWidget(), root.get());
}

class FakeWindow : public IPaneWindow {
public:
    void captureMouse() override { ++captures; }
    void releaseMouse() override { ++releases; }
    int captures = 0;
    int releases = 0;
};

// The tree in a pane of a (fake) window instead of the bare pane.
class WindowedPaneInput : public PaneInput {
protected:
    void SetUp() override
    {
        PaneInput::SetUp();
        pane.setRoot(nullptr);
        windowed.setRoot(root);
        windowed.setSize(200, 100);
        windowed.runFrameCycle();
    }
    void TearDown() override
    {
        windowed.setRoot(nullptr);
        PaneInput::TearDown();
    }

    FakeWindow window;
    WindowingPane windowed{window};
};

TEST_F(WindowedPaneInput, CapturesThePointerWhileAButtonIsHeld)
{
    const tMouseButtonEvent press{30, 20, 0, tMouseButtonEvent::Left, tMouseButtonEvent::Press};
    windowed.handleEvent(Casement::MouseButton, &press);
    EXPECT_EQ(window.captures, 1);
    windowed.handleEvent(Casement::CaptureLost, nullptr);
    EXPECT_EQ(windowed.pressedWidget(), nullptr);
    EXPECT_EQ(windowed.hoverWidget(), nullptr);
    EXPECT_FALSE(windowed.isMouseButtonHeld());

    windowed.handleEvent(Casement::MouseButton, &press);
    const tMouseButtonEvent release{150, 90, 0, tMouseButtonEvent::Left, tMouseButtonEvent::Release};
    windowed.handleEvent(Casement::MouseButton, &release);
    EXPECT_EQ(window.releases, 1);
}

// Drag events reach the widget under the pointer (the disabled label lets
// them through to the button), relative to it; only a widget with a drop
// callback takes the drop, and every widget's listeners see the drops that
// reach it. A widget whose callback removes it lives until its listeners ran.
TEST_F(WindowedPaneInput, ADragReachesTheWidgetUnderThePointerWhichTakesItWithADropCallback)
{
    const Casement::tDropData files{{"/tmp/a.bin", "/tmp/b c.bin"}, {"text"}};
    std::vector<std::string> seen;
    button->setDropCallback([&seen](const Casement::tDropData& data) { seen.push_back("taken " + data.files[1]); });
    button->addDropListener([&seen](const Casement::tDropData& data) { seen.push_back("watched " + data.texts[0]); });
    other->addDropListener([&seen](const Casement::tDropData&) { seen.push_back("other watched"); });
    const auto drag = [&](std::uint32_t code, std::int32_t x, std::int32_t y) {
        const Casement::tDragEvent event{x, y, 0, &files};
        return windowed.dispatchDrag(code, event);
    };

    const struct {
        std::uint32_t code;
        std::int32_t x, y;
        bool taken;
    } steps[] = {
        {Casement::DragEnter, 30, 20, true}, {Casement::DragMove, 31, 21, true}, {Casement::DragLeave, 31, 21, false},
        {Casement::Drop, 32, 22, true},      {Casement::DragEnter, 110, 20, false}, {Casement::Drop, 110, 20, false},
    };
    for (const auto& step : steps) {
        EXPECT_EQ(drag(step.code, step.x, step.y), step.taken) << step.code << " at " << step.x;
    }
    EXPECT_EQ(button->received, (std::vector<Recorder::tReceived>{{Casement::DragEnter, 10, 10},
                                                                  {Casement::DragMove, 11, 11},
                                                                  {Casement::DragLeave, 11, 11},
                                                                  {Casement::Drop, 12, 12}}));
    EXPECT_EQ(codes(*other), (std::vector<std::uint32_t>{Casement::DragEnter, Casement::Drop}));
    EXPECT_EQ(seen, (std::vector<std::string>{"taken /tmp/b c.bin", "watched text", "other watched"}));
    EXPECT_TRUE(label->received.empty());

    const Casement::tDragEvent unknown{30, 20, 0, &files};
    EXPECT_TRUE(windowed.handleEvent(1350, &unknown)) << "a drag-and-drop code of the window layer";
    EXPECT_EQ(button->received.size(), 4u);

    auto* raw = other.get();
    other->setDropCallback([this, raw](const Casement::tDropData&) { root->removeChild(*raw); });
    std::weak_ptr<Recorder> watch = other;
    other.reset();
    EXPECT_TRUE(drag(Casement::Drop, 110, 20));
    EXPECT_TRUE(watch.expired());
    EXPECT_EQ(seen.back(), "other watched") << "its listener ran after it was removed";
}

TEST_F(PaneInput, PressesMoveTheFocusAndKeysGoToInputThenFocusAncestors)
{
    button->setFocusable(true);
    mouse(tMouseButtonEvent::Press, 30, 20);
    mouse(tMouseButtonEvent::Release, 30, 20);
    EXPECT_EQ(pane.focusWidget(), button.get()) << "the nearest focusable ancestor of the pressed widget";
    mouse(tMouseButtonEvent::Press, 110, 20);
    EXPECT_EQ(pane.focusWidget(), button.get()) << "no focusable widget there: the focus stays";

    other->setKeyTarget(true);
    pane.setInputWidget(other.get());
    const Casement::tKeyEvent key{'A', 0, 1};
    pane.handleEvent(Casement::KeyDown, &key);
    EXPECT_EQ(other->keys.size(), 1u);
    EXPECT_EQ(button->keys.size(), 1u) << "not consumed by the input widget, offered to the focus";
    other->consumesKeys = true;
    EXPECT_TRUE(pane.dispatchKey(Casement::KeyDown, &key));
    EXPECT_EQ(button->keys.size(), 1u);
    pane.setKeyboardFocus(false);
    other->consumesKeys = false;
    EXPECT_FALSE(pane.dispatchKey(Casement::KeyDown, &key));
    EXPECT_EQ(button->keys.size(), 1u) << "without keyboard focus only key targets hear keys";
}

TEST_F(PaneInput, TabMovesTheFocusInTreeOrderWithinItsScopeAndTellsTheWidgets)
{
    button->setFocusable(true);
    other->setFocusable(true);
    label->setFocusable(true);
    const auto tab = [this](std::uint32_t modifiers = 0) {
        const Casement::tKeyEvent key{'\t' | modifiers, 0x0F, 1};
        return pane.dispatchKey(Casement::KeyDown, &key);
    };
    EXPECT_TRUE(tab());
    EXPECT_EQ(pane.focusWidget(), button.get()) << "the first in tree order; the disabled label is passed over";
    EXPECT_TRUE(tab());
    EXPECT_EQ(pane.focusWidget(), other.get());
    EXPECT_EQ(codes(*button), (std::vector<std::uint32_t>{FocusEntered, FocusLeft}));
    EXPECT_EQ(pane.previousFocusWidget(), button.get());
    tab();
    EXPECT_EQ(pane.focusWidget(), button.get()) << "round to the first";
    tab(Casement::ModifierShift);
    EXPECT_EQ(pane.focusWidget(), other.get()) << "Shift+Tab goes back";
    EXPECT_FALSE(tab(Casement::ModifierControl)) << "Control+Tab is left to others";

    other->setVisible(false);
    tab();
    tab();
    EXPECT_EQ(pane.focusWidget(), button.get()) << "a hidden widget takes no focus";
    other->setVisible(true);
    pane.setFocusScope(other.get());
    tab();
    tab();
    EXPECT_EQ(pane.focusWidget(), other.get()) << "the scope keeps the focus";
    other->setVisible(false);
    frame();
    EXPECT_EQ(pane.focusScope(), nullptr) << "hiding the scope ends it";
}

TEST_F(PaneInput, AnOverlayLayerIsHitBeforeTheRootAndItsPlaceRepaintedWhenRemoved)
{
    auto layer = std::make_shared<Recorder>();
    pane.addLayer(layer);
    layer->init(TopToBottom, nullptr);
    layer->setPosition(90, 0);
    layer->setSizeLimits({50, 50}, {50, 50});
    frame();
    EXPECT_EQ(pane.hitTest(110, 20), layer.get()) << "above the widget of the root tree there";
    EXPECT_EQ(pane.hitTest(30, 20), button.get());
    pane.removeLayer(*layer);
    EXPECT_EQ(frame(), (std::vector<Casement::Rect>{{90, 0, 50, 50}}));
    EXPECT_EQ(pane.hitTest(110, 20), other.get());
}

TEST_F(PaneInput, TicksFallDueAfterTheirPeriodsAndWaitWhileHidden)
{
    button->scheduleTick(2);
    auto detached = std::make_shared<Recorder>();
    detached->scheduleTick(1);
    pane.tick();
    EXPECT_EQ(button->ticks, 0);
    button->setVisible(false);
    pane.tick();
    pane.tick();
    EXPECT_EQ(button->ticks, 0) << "a hidden widget's ticks do not count down";
    button->setVisible(true);
    root->addChild(detached, PooledName("Late"));
    frame();
    pane.tick();
    EXPECT_EQ(button->ticks, 1);
    EXPECT_EQ(detached->ticks, 1) << "a tick scheduled before attachment counts from attachment";
    EXPECT_EQ(pane.ticksLeft(*button), 0);

    other->scheduleTick(1);
    root->removeChild(*other);
    pane.tick();
    EXPECT_EQ(other->ticks, 0) << "a widget that left the Pane has no ticks";
}

} // namespace
} // namespace Trellis
