#pragma once

#include "trellis/ComputedStyle.h"

namespace Casement {
class Font;
} // namespace Casement

namespace Trellis {

class StyleManager;

// The widget's computed style from scratch: for each slot, the values of the
// rules that match the widget with their attribute conditions holding now,
// in precedence order, passing over values that do not convert to the
// slot's type. Without a manager every slot is empty. `defaultFont` is the
// fallback of the font slot.
ComputedStyle buildComputedStyle(const Widget& widget, StyleManager* manager,
                                 std::shared_ptr<Casement::Font> defaultFont);

} // namespace Trellis
