#pragma once

#include <casement/Application.h>

#include <functional>
#include <memory>
#include <string>

class PageTrace;
class UpdateWizardMainWidget;
struct UpdaterDescription;

// The updater's application: when it starts it keeps to one running copy,
// loads the stylesheet, builds the wizard, connects it to the logic and
// opens the one main window; while it runs it opens the about overlay and
// the web pages on command, and has the wizard ask the user before quitting
// during an update.
class FirmwareUpdaterApp : public Casement::Application {
public:
    explicit FirmwareUpdaterApp(UpdaterDescription& description);
    ~FirmwareUpdaterApp() override;

    // False when another copy runs (nothing is shown) or when the window
    // could not be created (windowError() then says why).
    bool start() override;
    const std::string& windowError() const { return windowError_; }
    bool onCommand(std::uint32_t code, void* data) override;

    // The user chose to quit during an update: its worker was told to stop
    // but may still be writing to the device.
    bool updateAbandoned() const { return updateAbandoned_; }

private:
    bool isDeviceReady();
    bool onQueryQuit(bool& allowed);
    void abandonUpdate();

    std::function<void()> showAboutAction_;
    std::shared_ptr<UpdateWizardMainWidget> wizard_;
    UpdaterDescription& description_;
    std::unique_ptr<PageTrace> trace_;
    std::string reportedDeniedNode_;
    bool updateAbandoned_ = false;
    std::string windowError_;
};
