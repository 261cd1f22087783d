#pragma once

#include "trellis/ParsedStyle.h"

#include <vector>

namespace Trellis {

class ManagerContainer;

// The values a style composes from its own declarations, in this order and
// each only when the style gives it: "picture", "dye-mask-picture",
// "picture-displacement", "text-displacement" and "font". Pictures and
// fonts are made through the container.
std::vector<ParsedProperty> composeProperties(const ParsedStyle& style, ManagerContainer& container);

} // namespace Trellis
