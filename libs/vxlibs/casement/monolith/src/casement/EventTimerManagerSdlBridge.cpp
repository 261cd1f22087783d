#include "casement/EventTimerManagerSdlBridge.h"

#include "casement/EventTimerManager.h"
#include "casement/FrameworkEvents.h"

#include <cstdint>
#include <map>
#include <mutex>

namespace Casement {
namespace {

struct tRegistration {
    EventTimerManagerSdlBridge* bridge = nullptr;
    bool eventPending = false;
};

// Timer id -> bridge. The SDL timer thread reads it, the user-interface thread
// changes it.
struct Registry {
    std::mutex lock;
    std::map<int, tRegistration> bridges;
    int lastId = 0;
};

Registry& registry()
{
    static Registry instance;
    return instance;
}

} // namespace

EventTimerManagerSdlBridge::EventTimerManagerSdlBridge(EventTimerManager& manager)
    : manager_(manager)
{
}

EventTimerManagerSdlBridge::~EventTimerManagerSdlBridge()
{
    stop();
}

void EventTimerManagerSdlBridge::start(int periodMs)
{
    if (timerId_ != 0) {
        return;
    }
    int id = 0;
    {
        const std::lock_guard guard(registry().lock);
        id = ++registry().lastId;
        registry().bridges[id] = tRegistration{this, false};
    }
    const SDL_TimerID sdlTimer = SDL_AddTimer(static_cast<Uint32>(periodMs), &onSdlTimer,
                                              reinterpret_cast<void*>(std::intptr_t{id}));
    if (sdlTimer == 0) {
        const std::lock_guard guard(registry().lock);
        registry().bridges.erase(id);
        return;
    }
    timerId_ = id;
    sdlTimer_ = sdlTimer;
}

void EventTimerManagerSdlBridge::stop()
{
    if (timerId_ == 0) {
        return;
    }
    SDL_RemoveTimer(sdlTimer_);
    const std::lock_guard guard(registry().lock);
    registry().bridges.erase(timerId_);
    timerId_ = 0;
    sdlTimer_ = 0;
}

Uint32 EventTimerManagerSdlBridge::onSdlTimer(Uint32 interval, void* param)
{
    const int id = static_cast<int>(reinterpret_cast<std::intptr_t>(param));
    const std::lock_guard guard(registry().lock);
    const auto found = registry().bridges.find(id);
    if (found != registry().bridges.end() && !found->second.eventPending) {
        found->second.eventPending =
            DETAIL::FrameworkEvents::push(DETAIL::FrameworkEvents::Timer, id);
    }
    return interval;
}

void EventTimerManagerSdlBridge::timerProc(int timerId)
{
    EventTimerManagerSdlBridge* bridge = nullptr;
    {
        const std::lock_guard guard(registry().lock);
        const auto found = registry().bridges.find(timerId);
        if (found == registry().bridges.end()) {
            return;
        }
        found->second.eventPending = false;
        bridge = found->second.bridge;
    }
    bridge->manager_.tick();
}

} // namespace Casement
