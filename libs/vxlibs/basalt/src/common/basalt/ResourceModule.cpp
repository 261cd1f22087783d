#include "basalt/ResourceModule.h"

#include <algorithm>
#include <cctype>

namespace Basalt {
namespace {

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return std::ranges::equal(a, b, [](unsigned char x, unsigned char y) {
        return std::toupper(x) == std::toupper(y);
    });
}

bool matches(const ResourceEntry& entry, const ResourceName& name)
{
    if (const auto* id = std::get_if<std::uint16_t>(&name)) {
        return entry.name == nullptr && entry.id == *id;
    }
    return entry.name != nullptr && equalsIgnoringCase(entry.name, std::get<std::string_view>(name));
}

ResourceModule& programModule()
{
    static ResourceModule module;
    return module;
}

} // namespace

std::string describeResource(const ResourceName& name, std::string_view type)
{
    if (const auto* id = std::get_if<std::uint16_t>(&name)) {
        return std::string(type) + " " + std::to_string(*id);
    }
    return std::string(std::get<std::string_view>(name));
}

ResourceModule::Registration::Registration(std::span<const ResourceEntry> entries,
                                           const char* fileVersion)
{
    programModule() = ResourceModule(entries, fileVersion);
}

ResourceModule::ResourceModule(std::span<const ResourceEntry> entries, std::string_view fileVersion)
    : entries_(entries), fileVersion_(fileVersion)
{
}

const ResourceModule& ResourceModule::program()
{
    return programModule();
}

bool ResourceModule::find(const ResourceName& name, std::string_view type,
                          std::span<const unsigned char>& bytes) const
{
    const auto it = std::ranges::find_if(entries_, [&](const ResourceEntry& entry) {
        return equalsIgnoringCase(entry.type, type) && matches(entry, name);
    });
    if (it == entries_.end()) {
        return false;
    }
    bytes = {it->begin, it->end};
    return true;
}

} // namespace Basalt
