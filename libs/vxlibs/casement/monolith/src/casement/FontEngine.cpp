#include "casement/FontEngine.h"

#include <ft2build.h>
#include FT_FREETYPE_H

namespace Casement {

const std::shared_ptr<FontEngine>& FontEngine::instance()
{
    static const std::shared_ptr<FontEngine> engine = std::make_shared<FontEngine>();
    return engine;
}

FontEngine::FontEngine()
{
    if (FT_Init_FreeType(&library_) != 0) {
        library_ = nullptr;
    }
}

FontEngine::~FontEngine()
{
    if (library_ != nullptr) {
        FT_Done_FreeType(library_);
    }
}

} // namespace Casement
