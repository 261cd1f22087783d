#pragma once

namespace Casement {

class AppModule;

// What the application module needs of an application, in slot order.
class IApplication {
public:
    virtual ~IApplication() = default;
    // Attaches the application to its module (null detaches it).
    virtual void attach(AppModule* module) = 0;
    // Runs the message loop until it is asked to end; returns its exit code.
    virtual int runLoop() = 0;
    // Called once after attaching; false makes the program end without a window.
    virtual bool start() = 0;
    // Called before detaching, with the module's start result (0 after a failed start).
    virtual void stop(int startResult) = 0;
    // Ends the program: the message loop ends once the main window has closed.
    virtual void requestQuit() = 0;
};

} // namespace Casement
