#include "UpdaterWindow.h"

#include <casement/Application.h>
#include <casement/ShellEvents.h>
#include <casement/WindowEvents.h>

UpdaterWindow::UpdaterWindow(Casement::Application& application)
    : Window(application.eventTimers()), application_(application)
{
}

bool UpdaterWindow::handleEvent(std::uint32_t code, void* payload, bool flag)
{
    switch (code) {
    case Casement::WindowCreated:
        application_.setMainWindow(this);
        break;
    case Casement::CommandEvent:
        return application_.onCommand(code, payload);
    case Casement::CloseRequested: {
        bool allowed = true;
        application_.onCommand(Casement::QueryQuit, &allowed);
        *static_cast<std::uint8_t*>(payload) = allowed ? 1 : 0;
        return true;
    }
    case Casement::WindowDestroyed: {
        Window::handleEvent(code, payload, flag);
        application_.setMainWindow(nullptr);
        if (!application_.isQuitRequested()) {
            application_.requestQuit();
        }
        delete this;
        return true;
    }
    default:
        break;
    }
    return Window::handleEvent(code, payload, flag);
}
