#include "FirmwareUpdaterApp.h"

#include "DocumentationUrl.h"
#include "PageTrace.h"
#include "ProgramIcon.h"
#include "UpdaterWindow.h"

#include "logic/UpdaterDescription.h"
#include "logic/UpdaterMessages.h"
#include "wizard/UpdateWizardMainWidget.h"

#include <casement/MessageBox.h>
#include <casement/OpenUrl.h>
#include <casement/ShellEvents.h>
#include <casement/SingleInstance.h>
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
    if (auto* resources = Trellis::trellisResources()) {
        resources->setStyleSheet(StyleSheet);
    }
    auto wizard = std::make_shared<UpdateWizardMainWidget>(description_);
    showAboutAction_ = [wizard] { wizard->showAbout(); };
    wizard->setQuitHandler([this] { requestQuit(); });
    trace_ = PageTrace::fromEnvironment();
    if (trace_) {
        UpdateWizardMainWidget* shown = wizard.get();
        wizard->setPageObserver([this, shown](const char* page) { trace_->record(page, *shown); });
    }
    wizard->connectLogic({[this] { return isDeviceReady(); }, description_.enterUpdateMode, description_.isInUpdateMode,
                          description_.startUpdate, description_.readFirmwareInfo, description_.isUpdatedDeviceBack});
    // The window deletes itself when its native window is destroyed.
    auto* window = new UpdaterWindow(*this);
    window->pane().setRoot(std::make_shared<Trellis::Bar>());
    window->pane().root()->addChild(wizard, Trellis::PooledName("FirmwareUpdaterMainWidget"));
    if (!window->create(WindowWidth, WindowHeight, description_.windowTitle)) {
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

// During an update the user decides; No (the default) keeps it going. A Yes
// holds for the rest of the run: the quit that follows the window's closing
// does not ask again.
bool FirmwareUpdaterApp::onQueryQuit(bool& allowed)
{
    if (updateAbandoned_ || !description_.isUpdateRunning()) {
        return false;
    }
    const auto answer = Casement::MessageBox::show(Casement::MessageBox::Question, name(),
                                                   UpdaterMessages::QuitDuringUpdate, Casement::MessageBox::No);
    if (answer == Casement::MessageBox::Yes) {
        description_.stopUpdateThread();
        updateAbandoned_ = true;
    } else {
        allowed = false;
    }
    return true;
}
