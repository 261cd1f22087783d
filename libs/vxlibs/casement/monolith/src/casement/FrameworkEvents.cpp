#include "casement/FrameworkEvents.h"

namespace Casement::DETAIL {
namespace {

Uint32 firstType()
{
    static const Uint32 first = SDL_RegisterEvents(FrameworkEvents::KindCount);
    return first;
}

} // namespace

Uint32 FrameworkEvents::type(eKind kind)
{
    return firstType() + kind;
}

FrameworkEvents::eKind FrameworkEvents::kindOf(Uint32 type)
{
    const Uint32 first = firstType();
    if (first == static_cast<Uint32>(-1) || type < first || type >= first + KindCount) {
        return KindCount;
    }
    return static_cast<eKind>(type - first);
}

bool FrameworkEvents::isPrivate(Uint32 type)
{
    switch (kindOf(type)) {
    case Command:
    case AsyncPost:
    case InstanceMessage:
    case DeviceChange:
    case MainContextReady:
        return true;
    default:
        return false;
    }
}

bool FrameworkEvents::push(eKind kind, Sint32 code, void* data1)
{
    if (firstType() == static_cast<Uint32>(-1)) {
        return false;
    }
    SDL_Event event{};
    event.type = type(kind);
    event.user.code = code;
    event.user.data1 = data1;
    return SDL_PushEvent(&event) == 1;
}

} // namespace Casement::DETAIL
