#include "trellis/PooledName.h"

#include <mutex>
#include <unordered_set>

namespace Trellis {
namespace {

const std::string EmptyText;

// Node-based, so a pooled string never moves. Names are made while
// stylesheets are parsed and widgets built; the lock keeps the pool sound
// should another thread make one.
struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
};

struct Pool {
    std::mutex lock;
    std::unordered_set<std::string, TextHash, std::equal_to<>> strings;
};

Pool& pool()
{
    static auto* instance = new Pool;  // left alive for names held by statics
    return *instance;
}

const std::string* intern(std::string_view text)
{
    if (text.empty()) {
        return &EmptyText;
    }
    Pool& names = pool();
    std::lock_guard guard(names.lock);
    const auto found = names.strings.find(text);
    return found != names.strings.end() ? &*found : &*names.strings.emplace(text).first;
}

} // namespace

PooledName::PooledName() : text_(&EmptyText) {}

PooledName::PooledName(std::string_view text) : text_(intern(text)) {}

} // namespace Trellis
