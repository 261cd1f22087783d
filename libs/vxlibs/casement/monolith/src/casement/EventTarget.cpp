#include "casement/EventTarget.h"

namespace Casement {

bool EventTarget::dispatchEvent(std::uint32_t code, void* data)
{
    return forwardEvent(code, data);
}

bool EventTarget::forwardEvent(std::uint32_t code, void* data)
{
    return onCommand(code, data);
}

bool EventTarget::onCommand(std::uint32_t, void*)
{
    return false;
}

void EventTarget::onIdle() {}

std::string EventTarget::applicationKind() const
{
    return {};
}

std::intptr_t EventTarget::hostHandle() const
{
    return 0;
}

std::string EventTarget::hostName() const
{
    return {};
}

bool EventTarget::onHostEvent(std::uint32_t code, void* data)
{
    return onCommand(code, data);
}

void EventTarget::beginHostEvents() {}

void EventTarget::endHostEvents() {}

} // namespace Casement
