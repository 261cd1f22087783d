#include "trellis/DefaultFont.h"

#include <casement/FontEngine.h>

namespace Trellis {
namespace {

bool hintingSwitch = false;

} // namespace

void setFontHinting(bool hinting)
{
    hintingSwitch = hinting;
}

bool fontHinting()
{
    return hintingSwitch;
}

FontDescription defaultFontDescription()
{
    return {"", 1, 12, hintingSwitch ? FontDescription::Hinting : 0u, Casement::FontEngine::instance().get()};
}

} // namespace Trellis
