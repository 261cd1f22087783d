#include "casement/EventWait.h"

#include "casement/EventTimerManagerSdlBridge.h"
#include "casement/FrameworkEvents.h"
#include "casement/WindowEventRouter.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace Casement::DETAIL {
namespace {

constexpr auto PumpInterval = std::chrono::milliseconds(100);

struct State {
    std::mutex lock;
    std::condition_variable pushed;
    bool eventPushed = false;
    bool installed = false;
};

State& state()
{
    static State instance;
    return instance;
}

// SDL marks each poll with a sentinel event of its own; that is no event to
// wake for, or every poll would end the next wait at once.
int onPush(void*, SDL_Event* event)
{
    if (event->type == SDL_POLLSENTINEL) {
        return 1;
    }
    {
        const std::lock_guard guard(state().lock);
        state().eventPushed = true;
    }
    state().pushed.notify_one();
    return 1;
}

} // namespace

void EventWait::install()
{
    if (!state().installed) {
        SDL_AddEventWatch(&onPush, nullptr);
        state().installed = true;
    }
}

void EventWait::uninstall()
{
    if (state().installed) {
        SDL_DelEventWatch(&onPush, nullptr);
        state().installed = false;
    }
}

// The timer event of a running event timer whose period has run out, made
// here rather than pushed: nothing else has to wake the loop for it.
bool EventWait::timerDue(SDL_Event& event)
{
    const int id = EventTimerManagerSdlBridge::takeDue(std::chrono::steady_clock::now());
    if (id == 0) {
        return false;
    }
    event = SDL_Event{};
    event.type = FrameworkEvents::type(FrameworkEvents::Timer);
    event.user.code = id;
    return true;
}

bool EventWait::next(SDL_Event& event)
{
    for (;;) {
        if (timerDue(event)) {
            return true;
        }
        const auto due = EventTimerManagerSdlBridge::nextDue();
        const auto wait = due ? std::chrono::ceil<std::chrono::milliseconds>(
                                    std::max(*due - std::chrono::steady_clock::now(), std::chrono::steady_clock::duration{}))
                              : PumpInterval;
        if (!state().installed || WindowEventRouter::hasWindows()) {
            if (!due) {
                return SDL_WaitEvent(&event) == 1;
            }
            if (SDL_WaitEventTimeout(&event, static_cast<int>(wait.count())) == 1) {
                return true;
            }
            continue;
        }
        {
            const std::lock_guard guard(state().lock);
            state().eventPushed = false;
        }
        if (SDL_PollEvent(&event) == 1) {
            return true;
        }
        std::unique_lock guard(state().lock);
        state().pushed.wait_for(guard, std::min(wait, std::chrono::milliseconds(PumpInterval)),
                                [] { return state().eventPushed; });
    }
}

} // namespace Casement::DETAIL
