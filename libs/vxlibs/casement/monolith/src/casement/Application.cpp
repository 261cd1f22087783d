#include "casement/Application.h"

#include "casement/AppModule.h"
#include "casement/MessageLoop.h"
#include "casement/ShellEvents.h"

namespace Casement {

Application::Application()
    : eventTimers_(std::make_unique<EventTimerManager>())
{
}

Application::Application(const EventTimerManager::tBridgeFactory& makeTimerBridge)
    : eventTimers_(std::make_unique<EventTimerManager>(makeTimerBridge))
{
}

Application::~Application() = default;

Application* Application::current()
{
    AppModule* module = AppModule::instance();
    return module != nullptr ? dynamic_cast<Application*>(module->application()) : nullptr;
}

bool Application::dispatchEvent(std::uint32_t code, void* data)
{
    if (mainWindow_ != nullptr && mainWindow_->handleEvent(code, data, false)) {
        return true;
    }
    return forwardEvent(code, data);
}

bool Application::onCommand(std::uint32_t code, void* data)
{
    if (code != CommandEvent || data == nullptr
        || *static_cast<const std::uint32_t*>(data) != QuitCommand) {
        return false;
    }
    bool allowed = true;
    onCommand(QueryQuit, &allowed);
    if (allowed) {
        // The flag first: a window that sees its native window destroyed
        // without the flag set asks for quitting again.
        quitFlag_ = true;
        if (mainWindow_ != nullptr) {
            mainWindow_->handleEvent(CloseWindowRequest, nullptr, false);
        }
    }
    return true;
}

std::string Application::applicationKind() const
{
    return "Standalone";
}

void Application::attach(AppModule* module)
{
    module_ = module;
}

int Application::runLoop()
{
    return MessageLoop::run(*eventTimers_, quitFlag_);
}

bool Application::start()
{
    return true;
}

void Application::stop(int) {}

void Application::requestQuit()
{
    quitFlag_ = true;
    MessageLoop::postCommand(mainWindow_, QuitCommand);
}

} // namespace Casement
