#pragma once

#include <trellis/Window.h>

#include <casement/StandaloneWindow.h>

namespace Casement {
class Application;
}

// The updater's main window: the toolkit window holding the wizard, which
// is the application's main window while its native window exists. Closing
// it asks the application first; when its native window is gone the window
// ends the program (unless that is under way) and deletes itself.
class UpdaterWindow final : public Trellis::Window<Casement::StandaloneWindow> {
public:
    explicit UpdaterWindow(Casement::Application& application);

    bool handleEvent(std::uint32_t code, void* payload, bool flag) override;

private:
    Casement::Application& application_;
};
