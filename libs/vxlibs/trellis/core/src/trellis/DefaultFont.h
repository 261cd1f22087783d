#pragma once

#include "trellis/FontDescription.h"

namespace Trellis {

// The toolkit-wide font-hinting switch, off unless switched on. It decides
// whether the default font is hinted; it matters for styles composed after
// it changed.
void setFontHinting(bool hinting);
bool fontHinting();

// The font widgets use when no style gives one: the program font with
// resource id 1 at size 12, hinted when the switch is on.
FontDescription defaultFontDescription();

} // namespace Trellis
