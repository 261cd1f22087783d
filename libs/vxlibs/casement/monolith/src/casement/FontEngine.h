#pragma once

#include <memory>

struct FT_LibraryRec_;

namespace Casement {

// The process-wide font rasterising context: one FreeType library handle,
// created on first use and released when the last face made with it is gone
// (every face holds the engine, so faces that outlive the program's statics
// stay valid). FreeType does not lock its library: faces are created and
// glyphs rendered on the user-interface thread only.
class FontEngine {
public:
    // The engine; its handle is null when FreeType could not be initialised.
    static const std::shared_ptr<FontEngine>& instance();

    FontEngine();
    ~FontEngine();
    FontEngine(const FontEngine&) = delete;
    FontEngine& operator=(const FontEngine&) = delete;

    FT_LibraryRec_* handle() const { return library_; }

private:
    FT_LibraryRec_* library_ = nullptr;
};

} // namespace Casement
