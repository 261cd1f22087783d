#pragma once

#include <casement/Application.h>

#include <functional>
#include <memory>
#include <string>

namespace Casement {
class InterruptRelay;
}
class PageTrace;
class UpdateInhibitor;
class UpdateWizardMainWidget;
struct UpdaterDescription;

// The updater's application: when it starts it keeps to one running copy,
// loads the stylesheet, builds the wizard, connects it to the logic and
// opens the one main window; while it runs it opens the about overlay and
// the web pages on command, and has the wizard ask the user before quitting
// during an update, whether the window is closed or a signal from outside
// (SIGINT, SIGTERM, SIGHUP) asks the program to end.
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
    // 1 when a second signal during an update ended the program, else 0.
    int exitStatus() const { return exitStatus_; }

private:
    bool isDeviceReady();
    bool onQueryQuit(bool& allowed);
    void abandonUpdate();
    void onInterrupted();
    void quitAfterSignal();

    std::function<void()> showAboutAction_;
    std::shared_ptr<UpdateWizardMainWidget> wizard_;
    UpdaterDescription& description_;
    std::unique_ptr<PageTrace> trace_;
    std::unique_ptr<UpdateInhibitor> inhibitor_;
    std::string reportedDeniedNode_;
    bool updateAbandoned_ = false;
    std::unique_ptr<Casement::InterruptRelay> interrupts_;
    int updateInterruptions_ = 0;
    bool quitBySignal_ = false;
    int exitStatus_ = 0;
    std::string windowError_;
};
