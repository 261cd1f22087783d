#include "casement/EventWait.h"

#include "casement/WindowEventRouter.h"

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

int onPush(void*, SDL_Event*)
{
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

bool EventWait::next(SDL_Event& event)
{
    for (;;) {
        if (!state().installed || WindowEventRouter::hasWindows()) {
            return SDL_WaitEvent(&event) == 1;
        }
        {
            const std::lock_guard guard(state().lock);
            state().eventPushed = false;
        }
        if (SDL_PollEvent(&event) == 1) {
            return true;
        }
        std::unique_lock guard(state().lock);
        state().pushed.wait_for(guard, PumpInterval, [] { return state().eventPushed; });
    }
}

} // namespace Casement::DETAIL
