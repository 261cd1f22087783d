#pragma once

#include <string_view>

namespace Trellis {

// The stylesheet every style set starts from: grey widgets with a darker
// border and black text, lighter when hovered and darker when pressed, and
// near-black Bars. Loading a stylesheet replaces it entirely.
extern const std::string_view DefaultStyleSheet;

} // namespace Trellis
