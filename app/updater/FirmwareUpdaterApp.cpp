#include "FirmwareUpdaterApp.h"

#include "DocumentationUrl.h"
#include "PageTrace.h"
#include "ProgramIcon.h"
#include "UpdateInhibitor.h"
#include "UpdaterWindow.h"

#include "logic/InterruptSentences.h"
#include "logic/UpdaterDescription.h"
#include "logic/UpdaterMessages.h"
#include "wizard/UpdateWizardMainWidget.h"

#include <casement/InterruptRelay.h>
#include <casement/OpenUrl.h>
#include <casement/ShellEvents.h>
#include <casement/SingleInstance.h>
#include <trellis/Accessibility.h>
#include <trellis/ManagerContainer.h>
#include <trellis/ResourceLocation.h>
#include <trellis/init_trellis.h>

#include <cstdio>

namespace {

void openDocumentation(std::string_view configured)
{
    Casement::openUrl(documentationUrl(configured, Trellis::SkinSearchPlaces::ofThisProcess().programDirectory));
}

const char* const StyleSheet = "FirmwareUpdaterStyles.txt";
// The client area; the wizard, 628 x 336 by its style, overhangs it by one
// pixel at the right and at the bottom.
constexpr std::int32_t WindowWidth = 627;
constexpr std::int32_t WindowHeight = 335;

} // namespace

FirmwareUpdaterApp::FirmwareUpdaterApp(UpdaterDescription& description) : description_(description) {}

FirmwareUpdaterApp::~FirmwareUpdaterApp() = default;

bool FirmwareUpdaterApp::start()
{
    setName(description_.applicationTitle);
    Application::start();
    if (Casement::checkOtherInstance(description_.instanceName, 0)) {
        return false;
    }
    interrupts_ = std::make_unique<Casement::InterruptRelay>();
    if (auto* resources = Trellis::trellisResources()) {
        resources->setStyleSheet(StyleSheet);
    }
    wizard_ = std::make_shared<UpdateWizardMainWidget>(description_);
    UpdateWizardMainWidget* wizard = wizard_.get();
    showAboutAction_ = [wizard] { wizard->showAbout(); };
    wizard->setQuitHandler([this] { requestQuit(); });
    wizard->setAbandonHandler([this] { abandonUpdate(); });
    trace_ = PageTrace::fromEnvironment();
    // The lock follows the page before the trace records it: a page in the
    // trace has the lock in its state already.
    inhibitor_ = std::make_unique<UpdateInhibitor>(description_);
    wizard->setPageObserver([this, wizard](const char* page) {
        inhibitor_->pageShown(page);
        if (trace_) {
            trace_->record(page, *wizard);
        }
    });
    if (trace_) {
        wizard->setQuestionObserver([this](bool open) { trace_->recordQuestion(open); });
    }
    wizard->connectLogic({[this] { return isDeviceReady(); }, description_.requestUpdateMode,
                          description_.requestInUpdateMode, description_.lookForUpdateMode, description_.startUpdate,
                          description_.readFirmwareInfo, description_.isUpdatedDeviceBack, description_.workerPhase});
    // The window deletes itself when its native window is destroyed.
    auto* window = new UpdaterWindow(*this);
    window->pane().setRoot(std::make_shared<Trellis::Bar>());
    window->pane().root()->addChild(wizard_, Trellis::PooledName("FirmwareUpdaterMainWidget"));
    if (!window->create(WindowWidth, WindowHeight, description_.windowTitle)) {
        windowError_ = Casement::StandaloneWindow::platformError();
        if (windowError_.empty()) {
            windowError_ = "the window system refused it";
        }
        delete window;
        return false;
    }
    if (description_.windowCreated) {
        description_.windowCreated(window);
    }
    window->show();
    // After the first frame: decoding the icon would only delay it.
    if (const auto icon = programIcon(64)) {
        window->setIcon(*icon);
    }
    // Screen readers find the window once it is on the screen; without an
    // accessibility bus the program runs as it would without.
    Trellis::Accessibility::start("tvs-updater");
    return true;
}

// A device this user may not open leaves the connect page shown; standard
// error (the session's log) says why and what to do, once for each device.
bool FirmwareUpdaterApp::isDeviceReady()
{
    const bool ready = description_.isDeviceReady();
    const std::string denied = ready ? std::string() : description_.deniedDeviceNode();
    if (!denied.empty() && denied != reportedDeniedNode_) {
        std::fprintf(stderr, "%s\n", UpdaterMessages::noPermission(description_.deviceName, denied).c_str());
    }
    reportedDeniedNode_ = denied;
    return ready;
}

bool FirmwareUpdaterApp::onCommand(std::uint32_t code, void* data)
{
    if (code == Casement::QueryQuit) {
        return onQueryQuit(*static_cast<bool*>(data)) || Application::onCommand(code, data);
    }
    if (code != Casement::CommandEvent || data == nullptr) {
        return Application::onCommand(code, data);
    }
    switch (*static_cast<const std::uint32_t*>(data)) {
    case Casement::InterruptCommand: onInterrupted(); return true;
    case Casement::ShowAboutCommand:
        if (showAboutAction_) {
            showAboutAction_();
        }
        return true;
    case Casement::KnowledgeBaseCommand: openDocumentation(TVS_KNOWLEDGE_BASE_URL); return true;
    case Casement::HomePageCommand: openDocumentation(TVS_HOME_PAGE_URL); return true;
    default: return Application::onCommand(code, data);
    }
}

// During an update the user decides, on the question the wizard shows in
// the window; the window stays open meanwhile, and closing it again changes
// nothing. A Yes holds for the rest of the run: the quit that follows does
// not ask again.
bool FirmwareUpdaterApp::onQueryQuit(bool& allowed)
{
    if (updateAbandoned_ || quitBySignal_ || !wizard_ || !wizard_->asksBeforeQuitting()) {
        return false;
    }
    wizard_->askToQuit();
    allowed = false;
    return true;
}

// Yes: the worker is told to stop (it may still be writing to the device)
// and the program quits.
void FirmwareUpdaterApp::abandonUpdate()
{
    description_.stopUpdateThread();
    updateAbandoned_ = true;
    requestQuit();
}

// A signal from outside. During an update the first one does not end it: the
// window asks, as when it is closed, and standard error says what ending now
// would leave the device in. The second ends the program with status 1 and
// the phase and state on standard error; the worker is told to stop as after
// a Yes. Outside an update the program ends as after QUIT.
void FirmwareUpdaterApp::onInterrupted()
{
    for (int count = interrupts_ ? interrupts_->takeInterrupts() : 0; count > 0; --count) {
        if (!wizard_ || wizard_->state() != Updating) {
            quitAfterSignal();
            return;
        }
        const int signal = interrupts_->lastSignal();
        const eUpdatePhase phase = wizard_->updatePhase();
        if (++updateInterruptions_ == 1) {
            std::fprintf(stderr, "%s\n", interruptWarning(description_, phase, signal).c_str());
            wizard_->askToQuit();
            continue;
        }
        const std::uint32_t written = description_.writtenBytes ? description_.writtenBytes() : 0;
        std::fprintf(stderr, "%s\n",
                     interruptedSentence(description_, phase, written, description_.totalImageBytes, signal).c_str());
        exitStatus_ = 1;
        abandonUpdate();
        return;
    }
}

// Not during an update: a question still open (its update has ended) is
// not asked again.
void FirmwareUpdaterApp::quitAfterSignal()
{
    quitBySignal_ = true;
    requestQuit();
}
