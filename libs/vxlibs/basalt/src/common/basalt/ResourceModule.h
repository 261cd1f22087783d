#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace Basalt {

// One resource compiled into the program (see cmake/TvsResources.cmake).
struct ResourceEntry {
    const char* type = nullptr;
    const char* name = nullptr;  // upper-case name; null for a numbered resource
    std::uint16_t id = 0;        // numeric id of a numbered resource
    const unsigned char* begin = nullptr;
    const unsigned char* end = nullptr;
};

// A resource is asked for by name or by numeric id.
using ResourceName = std::variant<std::string_view, std::uint16_t>;

// How a missing resource is named in messages: the name, or for a numeric id
// the type, a space and the id.
std::string describeResource(const ResourceName& name, std::string_view type);

// The resource table of a program. Names and types are matched without regard
// to letter case, so "Bg_Header_FU.png" finds BG_HEADER_FU.PNG.
class ResourceModule {
public:
    // Registers the program's table at static initialisation; the build
    // generates one per executable.
    class Registration {
    public:
        Registration(std::span<const ResourceEntry> entries, const char* fileVersion);
    };

    explicit ResourceModule(std::span<const ResourceEntry> entries = {},
                            std::string_view fileVersion = {});

    // The running program's own resources (empty when it has none).
    static const ResourceModule& program();

    // The resource's bytes; false when there is no such resource.
    bool find(const ResourceName& name, std::string_view type,
              std::span<const unsigned char>& bytes) const;

    // The program's version text, "" when the table carries none.
    std::string_view fileVersion() const { return fileVersion_; }

private:
    std::span<const ResourceEntry> entries_;
    std::string_view fileVersion_;
};

} // namespace Basalt
