// Buttons driven through a Pane as a person's mouse drives them: the signals
// they emit, their looks by state, repeats and the hover delay.
#include "TreeTestSupport.h"

#include <trellis/Button.h>
#include <trellis/ComputedStyle.h>

#include <casement/WindowEvents.h>

namespace Trellis {
namespace {

using namespace Testing;
using Casement::tMouseButtonEvent;

// A 40 x 20 button at (10, 10) whose frame tells its state.
class ButtonInput : public TreeTest {
protected:
    void SetUp() override
    {
        build("Button { x: 10; y: 10; width: 40; height: 20; image: url(\"Strip.tga\"); animations: 4; }\n"
              "Button:down { animation-index: 2; }\n"
              "Button:over { animation-index: 1; }\n"
              "Button:selected:over { animation-index: 3; }\n");
        button = std::make_shared<Button>();
        root->addChild(button, PooledName("Button"));
        button->init("OK", nullptr);
        const auto recordAs = [this](const char* name) { return [this, name] { record(name); }; };
        button->entered.connect(recordAs("entered"));
        button->left.connect(recordAs("left"));
        button->released.connect(recordAs("released"));
        button->repeated.connect(recordAs("repeated"));
        button->hoverElapsed.connect(recordAs("hoverElapsed"));
        button->pressed.connect([this](const ButtonImpl::tSignalData&, Casement::Point at) {
            record("pressed " + std::to_string(at.x) + "," + std::to_string(at.y));
        });
        button->clicked.connect([this](const ButtonImpl::tSignalData& data) {
            record(data.doubleClick ? "clicked (double)" : "clicked");
        });
        button->doubleClicked.connect([this](const ButtonImpl::tSignalData&) { record("doubleClicked"); });
        frame();
    }

    void record(const std::string& signal) { signals.push_back(signal); }
    std::int32_t frameShown() { return readSlot(*button, resources->computedStyle(*button)->animationIndex); }

    std::shared_ptr<Button> button;
    std::vector<std::string> signals;
};

TEST_F(ButtonInput, ClicksWhenReleasedOverItselfOnly)
{
    mouse(tMouseButtonEvent::Press, 15, 12);
    mouse(tMouseButtonEvent::Release, 16, 12);
    mouse(tMouseButtonEvent::Press, 15, 12);
    move(100, 80);
    mouse(tMouseButtonEvent::Release, 100, 80);
    EXPECT_EQ(signals, (std::vector<std::string>{"entered", "pressed 5,2", "released", "clicked", "pressed 5,2",
                                                 "left", "released"}));
}

TEST_F(ButtonInput, ADoubleClickClicksTwiceUnlessReported)
{
    mouse(tMouseButtonEvent::Press, 15, 12);
    mouse(tMouseButtonEvent::Release, 15, 12);
    mouse(tMouseButtonEvent::DoubleClick, 15, 12);
    mouse(tMouseButtonEvent::Release, 15, 12);
    button->setDoubleClickReporting(true);
    mouse(tMouseButtonEvent::DoubleClick, 15, 12);
    EXPECT_EQ(signals, (std::vector<std::string>{"entered", "pressed 5,2", "released", "clicked", "pressed 5,2",
                                                 "clicked (double)", "released", "pressed 5,2", "doubleClicked"}));
}

TEST_F(ButtonInput, ItsLookFollowsHoverPressAndSelection)
{
    EXPECT_EQ(frameShown(), 0);
    move(15, 12);
    EXPECT_EQ(frameShown(), 1);
    EXPECT_EQ(frame(), std::vector<Casement::Rect>{button->rect()}) << "entering repaints the button alone";
    mouse(tMouseButtonEvent::Press, 15, 12);
    EXPECT_EQ(frameShown(), 2);
    mouse(tMouseButtonEvent::Release, 15, 12);
    button->setSelected(true);
    EXPECT_EQ(frameShown(), 3);
    move(100, 80);
    EXPECT_EQ(frameShown(), 0);
    EXPECT_EQ(frame(), std::vector<Casement::Rect>{button->rect()});
}

TEST_F(ButtonInput, ADisabledButtonIgnoresTheMouse)
{
    button->setEnabled(false);
    frame();
    mouse(tMouseButtonEvent::Press, 15, 12);
    mouse(tMouseButtonEvent::Release, 15, 12);
    EXPECT_TRUE(signals.empty());
    EXPECT_EQ(pane.hoverWidget(), root.get());
}

TEST_F(ButtonInput, HidingItselfFromItsClickLeavesNoHover)
{
    button->clicked.connect([this](const ButtonImpl::tSignalData&) { button->setVisible(false); });
    mouse(tMouseButtonEvent::Press, 15, 12);
    mouse(tMouseButtonEvent::Release, 15, 12);
    frame();
    EXPECT_NE(pane.hoverWidget(), button.get());
    move(16, 12);
    EXPECT_EQ(pane.hoverWidget(), root.get());
}

TEST_F(ButtonInput, AHeldButtonRepeatsAfterFivePeriodsThenEveryPeriod)
{
    button->setHoverDelay(3);
    move(15, 12);
    pane.tick();
    pane.tick();
    pane.tick();
    mouse(tMouseButtonEvent::Press, 15, 12);
    for (int period = 0; period < 7; ++period) {
        pane.tick();
    }
    EXPECT_EQ(signals, (std::vector<std::string>{"entered", "hoverElapsed", "pressed 5,2", "repeated", "repeated",
                                                 "repeated"}));
}

TEST_F(ButtonInput, ReturnSpaceAndTheActivationKeyClickAFocusedButtonOncePerPress)
{
    button->setFocusable(true);
    button->setKeyMode(Button::KeyClicks);
    mouse(tMouseButtonEvent::Press, 15, 12);
    mouse(tMouseButtonEvent::Release, 15, 12);
    signals.clear();
    const struct {
        std::uint32_t keyCode;
        std::uint32_t firstPress;
        bool consumed;
        bool clicks;
    } keys[] = {
        {Casement::ModifierShift | Button::ActivationKey, 1, true, true},
        {'\r', 1, true, true},
        {'\r' | Casement::ModifierKeypad, 1, true, true},
        {' ', 1, true, true},
        {'\r', 0, true, false},
        {'\r' | Casement::ModifierControl, 1, false, false},
        {'A', 1, false, false},
    };
    for (const auto& key : keys) {
        signals.clear();
        const Casement::tKeyEvent event{key.keyCode, 0, key.firstPress};
        EXPECT_EQ(pane.dispatchKey(Casement::KeyDown, &event), key.consumed) << key.keyCode;
        EXPECT_EQ(signals.size(), key.clicks ? 1u : 0u) << key.keyCode;
    }
}

} // namespace
} // namespace Trellis
