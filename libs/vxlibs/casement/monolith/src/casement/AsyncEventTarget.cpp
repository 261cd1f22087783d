#include "casement/AsyncEventTarget.h"

#include "casement/EventTarget.h"
#include "casement/FrameworkEvents.h"
#include "casement/ShellEvents.h"

#include <cstdio>
#include <map>
#include <mutex>

namespace Casement {
namespace {

struct State {
    // Recursive: a target may add or remove targets while it handles a post.
    std::recursive_mutex lock;
    bool open = false;
    std::map<std::uintptr_t, EventTarget*> targets;
};

State& state()
{
    static State instance;
    return instance;
}

} // namespace

std::string AsyncEventTarget::className()
{
    char name[64];
    std::snprintf(name, sizeof name, "VXAsyncEventTargetWndClass%p", static_cast<void*>(&state()));
    return name;
}

void AsyncEventTarget::open()
{
    const std::lock_guard guard(state().lock);
    state().open = true;
}

void AsyncEventTarget::close()
{
    const std::lock_guard guard(state().lock);
    state().open = false;
    state().targets.clear();
}

bool AsyncEventTarget::isOpen()
{
    const std::lock_guard guard(state().lock);
    return state().open;
}

void AsyncEventTarget::add(std::uintptr_t key, EventTarget* target)
{
    const std::lock_guard guard(state().lock);
    if (state().open) {
        state().targets[key] = target;
    }
}

void AsyncEventTarget::remove(std::uintptr_t key)
{
    const std::lock_guard guard(state().lock);
    state().targets.erase(key);
}

bool AsyncEventTarget::post(std::uint32_t commandId, std::uintptr_t key)
{
    if (!isOpen()) {
        return false;
    }
    return DETAIL::FrameworkEvents::push(DETAIL::FrameworkEvents::AsyncPost,
                                         static_cast<Sint32>(commandId),
                                         reinterpret_cast<void*>(key));
}

void AsyncEventTarget::deliver(std::uint32_t commandId, std::uintptr_t key)
{
    const std::lock_guard guard(state().lock);
    const auto found = state().targets.find(key);
    if (found != state().targets.end()) {
        std::uint32_t id = commandId;
        found->second->onCommand(CommandEvent, &id);
    }
}

} // namespace Casement
