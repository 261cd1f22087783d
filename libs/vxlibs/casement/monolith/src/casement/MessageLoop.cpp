#include "casement/MessageLoop.h"

#include "casement/Application.h"
#include "casement/AsyncEventTarget.h"
#include "casement/EventTimerManager.h"
#include "casement/EventTimerManagerSdlBridge.h"
#include "casement/EventWait.h"
#include "casement/FrameworkEvents.h"
#include "casement/MainContextPump.h"
#include "casement/ShellEvents.h"
#include "casement/SingleInstance.h"
#include "casement/WindowEventRouter.h"

#include "basalt/DeviceNotifications.h"

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>

namespace Casement {
namespace {

using DETAIL::FrameworkEvents;

struct tCommand {
    EventHandler* target = nullptr;
    std::uint32_t id = 0;
};

// Commands wait here, keyed by the sequence number their SDL event carries,
// so that a target can revoke them before it goes away.
struct PostedCommands {
    std::mutex lock;
    std::map<Sint32, tCommand> waiting;
    Sint32 lastSequence = 0;
};

PostedCommands& posted()
{
    static PostedCommands instance;
    return instance;
}

std::optional<tCommand> takeCommand(Sint32 sequence)
{
    const std::lock_guard guard(posted().lock);
    const auto found = posted().waiting.find(sequence);
    if (found == posted().waiting.end()) {
        return std::nullopt;
    }
    const tCommand command = found->second;
    posted().waiting.erase(found);
    return command;
}

// SDL hands the taker of a drop event the file name or text it carries.
void releaseDropText(const SDL_Event& event)
{
    if (event.type == SDL_DROPFILE || event.type == SDL_DROPTEXT) {
        SDL_free(event.drop.file);
    }
}

} // namespace

int MessageLoop::run(EventTimerManager& timers, const bool& quitFlag)
{
    bool quitPosted = false;
    for (;;) {
        MainContextPump::serve();
        SDL_Event event{};
        // A failed wait leaves an empty event, treated like any other one.
        DETAIL::EventWait::next(event);
        if (event.type == SDL_QUIT) {
            return 0;
        }
        if (FrameworkEvents::kindOf(event.type) == FrameworkEvents::Quit) {
            return event.user.code;
        }
        if (FrameworkEvents::isPrivate(event.type)) {
            timers.tickIfStarved();
        }
        dispatch(event);
        if (quitFlag && !quitPosted) {
            quitPosted = postQuit(0);
        }
    }
}

void MessageLoop::dispatch(const SDL_Event& event)
{
    const bool routed = DETAIL::WindowEventRouter::route(event);
    releaseDropText(event);
    if (routed) {
        return;
    }
    switch (FrameworkEvents::kindOf(event.type)) {
    case FrameworkEvents::Command:
        deliverCommand(event.user.code);
        break;
    case FrameworkEvents::AsyncPost:
        AsyncEventTarget::deliver(static_cast<std::uint32_t>(event.user.code),
                                  reinterpret_cast<std::uintptr_t>(event.user.data1));
        break;
    case FrameworkEvents::Timer:
        EventTimerManagerSdlBridge::timerProc(event.user.code);
        break;
    case FrameworkEvents::InstanceMessage:
        SingleInstance::deliverPending();
        break;
    case FrameworkEvents::DeviceChange:
        Basalt::deliverDeviceChanges();
        break;
    case FrameworkEvents::MainContextReady:
        // Only a wake-up: the loop serves the context before its next wait.
        break;
    default:
        break;
    }
}

bool MessageLoop::postQuit(int exitCode)
{
    return FrameworkEvents::push(FrameworkEvents::Quit, exitCode);
}

bool MessageLoop::postCommand(EventHandler* target, std::uint32_t commandId)
{
    Sint32 sequence = 0;
    {
        const std::lock_guard guard(posted().lock);
        sequence = ++posted().lastSequence;
        posted().waiting[sequence] = tCommand{target, commandId};
    }
    if (FrameworkEvents::push(FrameworkEvents::Command, sequence)) {
        return true;
    }
    takeCommand(sequence);
    return false;
}

void MessageLoop::revokeCommands(EventHandler* target)
{
    const std::lock_guard guard(posted().lock);
    std::erase_if(posted().waiting, [target](const auto& item) { return item.second.target == target; });
}

void MessageLoop::deliverCommand(Sint32 sequence)
{
    const std::optional<tCommand> command = takeCommand(sequence);
    if (!command) {
        return;
    }
    std::uint32_t id = command->id;
    if (command->target != nullptr && command->target->handleEvent(CommandEvent, &id, false)) {
        return;
    }
    if (Application* application = Application::current()) {
        application->onCommand(CommandEvent, &id);
    }
}

} // namespace Casement
