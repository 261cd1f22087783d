// The wizard's pages and transitions, driven by fake logic callbacks: what
// each page says and shows, and where each step leads.
#include "wizard/UpdateWizardMainWidget.h"

#include "WizardTestSupport.h"

#include <trellis/ManagerContainer.h>
#include <trellis/Pane.h>

#include <basalt/ResourceModule.h>
#include <basalt/VirtualClock.h>
#include <casement/WindowEvents.h>

#include <gtest/gtest.h>

#include <cctype>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace {

using namespace WizardTesting;

// A device as the callbacks report it; each answer can be changed between steps.
struct FakeLogic {
    bool ready = true;
    bool updatedBack = true;
    bool entersUpdateMode = true;
    bool rebootWaits = false;
    bool inUpdateMode = false;
    bool starts = true;
    std::int32_t failedStartResult = UpdateResult::NotInUpdateMode;
    std::string installed = "32 / 0x67";
    std::string newest = "33 / 0x67";
    bool updateAvailable = true;
    std::optional<UpdateResult> result;
    int starts_ = 0;
    int enterCalls = 0;
    int looks = 0;

    WizardCallbacks callbacks()
    {
        WizardCallbacks made;
        made.isDeviceReady = [this] { return ready; };
        made.isUpdatedDeviceBack = [this] { return updatedBack; };
        made.requestUpdateMode = [this] {
            ++enterCalls;
            return rebootWaits ? eUpdateModeStep::LookAfterWait : step(entersUpdateMode);
        };
        made.requestInUpdateMode = [this] { return step(inUpdateMode); };
        made.lookForUpdateMode = [this] { ++looks; return entersUpdateMode; };
        made.startUpdate = [this](UpdateResult& update) {
            ++starts_;
            result = update;
            if (!starts) {
                update.store(failedStartResult);
            }
            return starts;
        };
        made.readFirmwareInfo = [this](Conduit2::USBDeviceInfo& info, std::string& installedText,
                                       std::string& newestText, bool& available) {
            newestText = newest;
            if (ready) {
                info.serialNumber = "TVS0012345";
                installedText = installed;
                available = updateAvailable;
            }
        };
        return made;
    }
    static eUpdateModeStep step(bool reached)
    {
        return reached ? eUpdateModeStep::InUpdateMode : eUpdateModeStep::NotInUpdateMode;
    }
};

class WizardPages : public testing::Test {
protected:
    void SetUp() override
    {
        resources.setStyleSheet("FirmwareUpdaterStyles.txt");
        wizard = std::make_shared<UpdateWizardMainWidget>(texts());
        pane.setRoot(wizard);
        pane.setSize(628, 336);
        pane.runFrameCycle();
        wizard->setQuitHandler([this] { ++quits; });
    }
    void TearDown() override { pane.setRoot(nullptr); }

    void start() { wizard->connectLogic(logic.callbacks()); }
    // One timer period of the window.
    void period()
    {
        pane.runFrameCycle();
        clock.advance(std::chrono::milliseconds(40));
        pane.tick();
    }
    // Timer periods until the wizard stops polling (or a bound is reached).
    void tickUntilDone()
    {
        for (int periods = 0; periods < 400 && wizard->state() == Updating; ++periods) {
            period();
        }
    }
    void key(std::uint32_t code, std::uint32_t firstPress = 1)
    {
        const Casement::tKeyEvent event{code, 0, firstPress};
        pane.handleEvent(Casement::KeyDown, &event);
    }
    std::string focused()
    {
        const Trellis::Widget* widget = pane.focusWidget();
        return widget ? widget->id().str() : "none";
    }
    std::string installedState()
    {
        const std::string* state = wizard->installedValue().attribute(Trellis::PooledName("state"));
        return state ? *state : "";
    }
    std::string focus()
    {
        const auto* action = wizard->actionButton().attribute(Trellis::PooledName("hasFocus"));
        const auto* quit = wizard->quitButton().attribute(Trellis::PooledName("hasFocus"));
        return action && *action == "true" ? "action" : quit && *quit == "true" ? "quit" : "none";
    }

    Basalt::VirtualClock clock;
    Basalt::ScopedClock useClock{clock};
    Trellis::ManagerContainer resources{Basalt::ResourceModule::program()};
    Trellis::Pane pane;
    std::shared_ptr<UpdateWizardMainWidget> wizard;
    FakeLogic logic;
    int quits = 0;
};

TEST_F(WizardPages, WithoutADeviceTheConnectPageWaitsForRescan)
{
    logic.ready = false;
    start();
    EXPECT_EQ(wizard->state(), Scanning);
    EXPECT_EQ(wizard->message().text(), "Please connect your Trovix Studio and click RESCAN.");
    EXPECT_EQ(wizard->actionButton().text(), "RESCAN");
    EXPECT_EQ(wizard->installedValue().text(), "-");
    EXPECT_EQ(wizard->serialValue().text(), "-");
    EXPECT_EQ(wizard->newestValue().text(), "33 / 0x67");
    EXPECT_EQ(focus(), "action");
    wizard->advance();
    EXPECT_EQ(wizard->state(), Scanning) << "RESCAN with still no device changes nothing";
    logic.ready = true;
    wizard->advance();
    EXPECT_EQ(wizard->state(), UpdateOffered);
    EXPECT_EQ(wizard->serialValue().text(), "TVS0012345");
    EXPECT_FALSE(wizard->veil().isShown());
}

TEST_F(WizardPages, AnUpToDateDeviceGetsOnlyQuit)
{
    logic.installed = logic.newest;
    logic.updateAvailable = false;
    start();
    EXPECT_EQ(wizard->state(), UpToDate);
    EXPECT_EQ(wizard->message().text(), "Currently there is no newer firmware for your Trovix Studio.");
    EXPECT_EQ(installedState(), "success");
    EXPECT_FALSE(wizard->actionButton().isShown());
    EXPECT_EQ(wizard->actionButton().text(), "<disabled>");
    EXPECT_EQ(focus(), "quit");
    wizard->onQuitClicked();
    EXPECT_EQ(quits, 1);
}

TEST_F(WizardPages, AnUpdateRunsToTheSuccessPage)
{
    start();
    EXPECT_EQ(wizard->message().text(), "A firmware update is available for your Trovix Studio. To update the "
                                        "firmware now, click UPDATE. To update the firmware later, click QUIT.");
    EXPECT_EQ(installedState(), "fail");
    EXPECT_EQ(wizard->actionButton().text(), "UPDATE");
    int requestsBeforeStandBy = -1;
    wizard->setPageObserver([this, &requestsBeforeStandBy](const char* page) {
        if (std::string_view(page) == "stand-by") {
            requestsBeforeStandBy = logic.enterCalls;
        }
    });
    wizard->advance();
    EXPECT_EQ(requestsBeforeStandBy, 0) << "the stand-by page (and the session's lock) come before the reboot";
    EXPECT_EQ(wizard->state(), Updating);
    EXPECT_EQ(wizard->message().text(), "Please stand by while your Trovix Studio is being updated and do not "
                                        "disconnect it from USB.");
    EXPECT_FALSE(wizard->actionButton().isShown());
    EXPECT_FALSE(wizard->quitButton().isShown());
    EXPECT_FALSE(wizard->statusIcon().isShown());
    EXPECT_TRUE(wizard->wheel().isRunning());
    wizard->advance();
    wizard->onQuitClicked();
    EXPECT_EQ(logic.starts_, 1) << "a stray click starts no second update";
    EXPECT_EQ(quits, 0) << "quit does nothing during the update";

    pane.runFrameCycle();
    pane.tick();
    pane.tick();
    EXPECT_EQ(wizard->wheel().frame(), 1u) << "the wheel turns while the result is 0";
    logic.installed = logic.newest;
    logic.result->store(UpdateResult::Done);
    tickUntilDone();
    EXPECT_EQ(wizard->state(), Succeeded);
    EXPECT_EQ(wizard->message().text(), "The firmware of your Trovix Studio was successfully updated.");
    EXPECT_EQ(wizard->quitButton().text(), "FINISH");
    EXPECT_FALSE(wizard->actionButton().isShown());
    EXPECT_FALSE(wizard->wheel().isShown());
    EXPECT_EQ(focus(), "quit");
}

struct tEnding {
    const char* what;
    std::int32_t result;
    bool back;        // the updated device is back (another one is always attached)
    bool backLate;    // ... only after the wait
    bool newestAfter; // ... and reports the newest version
    WizardState state;
    const char* errorNumber;
};

void PrintTo(const tEnding& ending, std::ostream* out)
{
    *out << ending.what;
}

// "back after the wait" as a test's name: "BackAfterTheWait".
std::string nameOf(const tEnding& ending)
{
    std::string name;
    bool wordStart = true;
    for (const char c : std::string_view(ending.what)) {
        if (c != ' ') {
            name += wordStart ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : c;
        }
        wordStart = c == ' ';
    }
    return name;
}

class WizardEndings : public WizardPages, public testing::WithParamInterface<tEnding> {};

TEST_P(WizardEndings, TheResultDecidesThePage)
{
    const tEnding& ending = GetParam();
    start();
    wizard->advance();
    logic.updatedBack = ending.back && !ending.backLate;
    if (ending.backLate) {
        clock.schedule(std::chrono::milliseconds(4000), [this] { logic.updatedBack = true; });
    }
    if (ending.newestAfter) {
        logic.installed = logic.newest;
    }
    logic.result->store(ending.result);
    tickUntilDone();
    EXPECT_EQ(wizard->state(), ending.state) << ending.what;
    if (ending.errorNumber) {
        EXPECT_NE(wizard->message().text().find(std::string("(error ") + ending.errorNumber + ")"), std::string::npos)
            << wizard->message().text();
        EXPECT_NE(wizard->message().text().find("quit the TVS Updater"), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Results, WizardEndings,
    testing::Values(tEnding{"back after the wait", 1, true, true, true, Succeeded, nullptr},
                    tEnding{"never back", 1, false, false, false, Failed, "1"},
                    tEnding{"back with another version", 1, true, false, false, Failed, "1"},
                    tEnding{"not in update mode", -1, true, false, true, Failed, "-1"},
                    tEnding{"a write failed", -2, true, false, true, Failed, "-2"}),
    [](const testing::TestParamInfo<tEnding>& test) { return nameOf(test.param); });

TEST_F(WizardPages, ADoubleClickOnUpdateStartsOneUpdate)
{
    start();
    pane.runFrameCycle();
    using Casement::tMouseButtonEvent;
    for (const auto kind : {tMouseButtonEvent::Press, tMouseButtonEvent::Release, tMouseButtonEvent::DoubleClick,
                            tMouseButtonEvent::Release}) {
        const tMouseButtonEvent event{546, 296, 0, tMouseButtonEvent::Left, kind};
        pane.handleEvent(Casement::MouseButton, &event);
    }
    EXPECT_EQ(wizard->state(), Updating);
    EXPECT_EQ(logic.starts_, 1) << "the second click found the button hidden";
    EXPECT_EQ(logic.enterCalls, 1);
}

TEST_F(WizardPages, AFailedBootOffersRetry)
{
    logic.entersUpdateMode = false;
    start();
    wizard->advance();
    EXPECT_EQ(wizard->state(), BootFailed);
    EXPECT_EQ(wizard->actionButton().text(), "RETRY");
    EXPECT_EQ(installedState(), "neutral");
    EXPECT_EQ(focus(), "action");
    EXPECT_NE(wizard->message().text().find("power-cycle it and click RETRY"), std::string::npos);
    wizard->advance();
    EXPECT_EQ(wizard->state(), BootFailed) << "still not in update mode";
    logic.inUpdateMode = true;
    const int asked = logic.enterCalls;
    wizard->advance();
    EXPECT_EQ(wizard->state(), Updating) << "already in update mode: the update starts at once";
    EXPECT_EQ(logic.enterCalls, asked);
}

TEST_F(WizardPages, AnUpdateThatDoesNotStartShowsItsErrorNumber)
{
    logic.starts = false;
    start();
    wizard->advance();
    EXPECT_EQ(wizard->state(), Failed);
    EXPECT_NE(wizard->message().text().find("(error -1)"), std::string::npos);
    EXPECT_FALSE(wizard->actionButton().isShown());
    EXPECT_EQ(focus(), "quit");
}

// The reboot into update mode waits on the window's timer: the stand-by
// page shows from the click, the wheel turns, and one look follows the wait.
TEST_F(WizardPages, TheRebootWaitRunsOnTheTimerWithTheWheelTurning)
{
    logic.rebootWaits = true;
    logic.entersUpdateMode = false;
    start();
    wizard->advance();
    EXPECT_EQ(wizard->state(), Updating) << "the stand-by page shows from the click";
    for (int periods = 0; periods < 124; ++periods) {
        period();
    }
    EXPECT_EQ(logic.looks, 0) << "4960 ms: still waiting";
    EXPECT_NE(wizard->wheel().frame(), 0u);
    wizard->advance();
    EXPECT_EQ(logic.enterCalls, 1) << "a second click starts nothing";
    tickUntilDone();
    EXPECT_EQ(wizard->state(), BootFailed);
    EXPECT_EQ(logic.looks, 1);

    logic.entersUpdateMode = true;
    wizard->advance();
    for (int periods = 0; periods < 200 && logic.starts_ == 0; ++periods) {
        period();
    }
    EXPECT_EQ(logic.enterCalls, 2) << "RETRY: not in update mode, so the ready device is rebooted";
    EXPECT_EQ(logic.starts_, 1);
}

TEST_F(WizardPages, TheKeyboardWorksEveryPage)
{
    logic.ready = false;
    start();
    period();
    EXPECT_EQ(focused(), "FirmwareUpdaterButtonAction");
    key('\r');
    EXPECT_EQ(wizard->state(), Scanning);
    logic.ready = true;
    key(' ');
    EXPECT_EQ(wizard->state(), UpdateOffered) << "space presses RESCAN too";
    key('\t');
    EXPECT_EQ(focus(), "quit") << "the focus picture follows Tab";
    key('\t' | Casement::ModifierShift);
    EXPECT_EQ(focus(), "action");

    key('\t');
    key('\t');
    EXPECT_EQ(focused(), "FirmwareUpdaterTitlePanelAbout");
    EXPECT_EQ(focus(), "none") << "About shows its own focus look";
    key('\r');
    period();
    EXPECT_EQ(focused(), "FirmwareUpdaterOverlay");
    key(0x1B);
    EXPECT_FALSE(wizard->overlay().hasFlags(Trellis::Widget::OwnVisible));
    EXPECT_EQ(focused(), "FirmwareUpdaterTitlePanelAbout") << "closing the overlay gives the focus back";
    key('\t');
    EXPECT_EQ(focus(), "action");

    key('\r', 0);
    EXPECT_EQ(wizard->state(), UpdateOffered) << "a key held down presses once";
    key('\r');
    EXPECT_EQ(wizard->state(), Updating);
    key('\r');
    EXPECT_EQ(logic.starts_, 1);
    key(0x1B);
    EXPECT_TRUE(wizard->quitSheet().isOpen()) << "Escape during the update asks";
    key('\r');
    EXPECT_FALSE(wizard->quitSheet().isOpen());
    EXPECT_EQ(quits, 0);
    logic.installed = logic.newest;
    logic.result->store(UpdateResult::Done);
    tickUntilDone();
    key(0x1B);
    EXPECT_EQ(quits, 1) << "Escape stands for FINISH";
}

TEST_F(WizardPages, TheQuitQuestionHoldsTheKeyboardAndTheFinalPageUntilAnswered)
{
    int abandoned = 0;
    wizard->setAbandonHandler([&] { ++abandoned; });
    start();
    EXPECT_FALSE(wizard->asksBeforeQuitting());
    wizard->advance();
    EXPECT_TRUE(wizard->asksBeforeQuitting());
    wizard->askToQuit();
    period();
    EXPECT_TRUE(wizard->quitSheet().isShown());
    EXPECT_EQ(focused(), "FirmwareUpdaterQuitSheetNo");
    key('\t');
    EXPECT_EQ(focused(), "FirmwareUpdaterQuitSheetYes");
    key('\t');
    EXPECT_EQ(focused(), "FirmwareUpdaterQuitSheetNo") << "Tab stays on the question";

    logic.installed = logic.newest;
    logic.result->store(UpdateResult::Done);
    tickUntilDone();
    EXPECT_EQ(wizard->state(), Succeeded);
    EXPECT_NE(wizard->message().text().find("stand by"), std::string::npos) << "the page waits for the answer";
    EXPECT_TRUE(wizard->asksBeforeQuitting()) << "closing again changes nothing";
    key(0x1B);
    EXPECT_FALSE(wizard->quitSheet().isOpen());
    EXPECT_EQ(wizard->message().text(), "The firmware of your Trovix Studio was successfully updated.");
    EXPECT_EQ(focused(), "FirmwareUpdaterButtonQuit");
    EXPECT_EQ(abandoned, 0);

    wizard->askToQuit();
    key('\t');
    key('\r');
    EXPECT_EQ(abandoned, 1) << "Yes";
}

} // namespace
