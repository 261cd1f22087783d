#pragma once

#include <compare>
#include <cstdint>
#include <string>

namespace Casement {
class FontEngine;
} // namespace Casement

namespace Trellis {

// The key under which fonts are made and shared: a font file by resource
// name, or a program font by numeric resource id, at a size in layout pixels.
struct FontDescription {
    enum eFlags : std::uint32_t {
        Bold = 1,
        Italic = 2,
        Underline = 4,
        LoadByResourceId = 8,
        Hinting = 16,
    };

    std::string name;             // resource name of a font file; empty for a font loaded by id
    std::int32_t resourceId = 0;  // numeric "TTFd" resource id
    std::int32_t size = 0;        // layout pixels
    std::uint32_t flags = 0;
    const Casement::FontEngine* engine = nullptr;  // the process-wide font rasterising context

    bool loadsByResourceId() const { return resourceId != 0 || (flags & LoadByResourceId) != 0; }
    auto operator<=>(const FontDescription&) const = default;
};

} // namespace Trellis
