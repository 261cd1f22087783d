#include "casement/WindowClasses.h"

#include <cstdio>
#include <optional>

namespace Casement {
namespace {

using tClasses = std::array<WindowClasses::tWindowClass, WindowClasses::KindCount>;

std::optional<tClasses>& registered()
{
    static std::optional<tClasses> classes;
    return classes;
}

std::string formatName(const char* format)
{
    char name[64];
    // The address stands for the module that registers the classes.
    std::snprintf(name, sizeof name, format, static_cast<void*>(&registered()));
    return name;
}

} // namespace

bool WindowClasses::registerAll()
{
    if (registered()) {
        return true;
    }
    constexpr std::array<const char*, KindCount> formats{
        "VXNormalWindow%p", "VXFramelessWindow%p", "VXChildWindow%p", "VXVSTChildWindow%p",
        "VXOverlayWindow%p"};
    tClasses classes;
    for (int kind = 0; kind < KindCount; ++kind) {
        classes[kind].name = formatName(formats[kind]);
        classes[kind].privateContext = kind == VSTChild;
        classes[kind].ownProcedure = kind == Frameless || kind == Overlay;
    }
    registered() = std::move(classes);
    return true;
}

void WindowClasses::unregisterAll()
{
    registered().reset();
}

bool WindowClasses::isRegistered()
{
    return registered().has_value();
}

const WindowClasses::tWindowClass* WindowClasses::find(eKind kind)
{
    if (!registered() || kind < 0 || kind >= KindCount) {
        return nullptr;
    }
    return &(*registered())[kind];
}

} // namespace Casement
