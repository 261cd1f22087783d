#pragma once

#include "casement/EventHandler.h"
#include "casement/EventTarget.h"
#include "casement/EventTimerManager.h"
#include "casement/IApplication.h"

#include <memory>
#include <string>

namespace Casement {

// The framework's application: the target of application events and the
// owner of the message loop, the quit flag, the main window (whose handler
// receives the application's window requests) and the event timer manager.
class Application : public EventTarget, public IApplication {
public:
    Application();
    // A manager with its own platform timer (tests drive time by hand).
    explicit Application(const EventTimerManager::tBridgeFactory& makeTimerBridge);
    ~Application() override;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The application of the current module; null when there is none.
    static Application* current();

    // Hands an event to the main window's handler; when it does not consume
    // it, to the application's own handling.
    bool dispatchEvent(std::uint32_t code, void* data) override;
    // The quit command: asks QueryQuit, and when quitting is allowed sets the
    // quit flag and closes the main window. Handled in any case.
    bool onCommand(std::uint32_t code, void* data) override;
    std::string applicationKind() const override;

    void attach(AppModule* module) override;
    int runLoop() override;
    bool start() override;
    void stop(int startResult) override;
    // Sets the quit flag, then posts QuitCommand to the main window.
    void requestQuit() override;

    const std::string& name() const { return name_; }
    void setName(std::string name) { name_ = std::move(name); }
    // The window layer sets the main window when its native window is created
    // and clears it when that window is destroyed.
    EventHandler* mainWindow() const { return mainWindow_; }
    void setMainWindow(EventHandler* window) { mainWindow_ = window; }
    bool isQuitRequested() const { return quitFlag_; }
    AppModule* module() const { return module_; }
    EventTimerManager& eventTimers() { return *eventTimers_; }

private:
    std::string name_;
    EventHandler* mainWindow_ = nullptr;
    bool quitFlag_ = false;
    AppModule* module_ = nullptr;
    std::unique_ptr<EventTimerManager> eventTimers_;
};

} // namespace Casement
