#include "trellis/Warnings.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace Trellis {
namespace {

struct Registered {
    std::size_t id;
    WarningListener listener;
};

struct Registry {
    std::size_t nextId = 1;
    std::vector<Registered> listeners;
};

Registry& registry()
{
    static Registry instance;
    return instance;
}

} // namespace

std::size_t addWarningListener(WarningListener listener)
{
    Registry& all = registry();
    all.listeners.push_back({all.nextId, std::move(listener)});
    return all.nextId++;
}

void removeWarningListener(std::size_t id)
{
    std::erase_if(registry().listeners, [id](const Registered& entry) { return entry.id == id; });
}

// A copy of the list is walked, so that a listener may add or remove
// listeners while it is called.
void reportWarning(const std::string& text)
{
    const std::vector<Registered> listeners = registry().listeners;
    for (const Registered& entry : listeners) {
        entry.listener(text);
    }
}

} // namespace Trellis
