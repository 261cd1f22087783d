#pragma once

#include "trellis/ParsedStyle.h"
#include "trellis/PropertyValue.h"

#include <cstdint>
#include <memory>
#include <string>

namespace Trellis {

// Where a rule was written: the stylesheet's name and the style's line.
struct tRuleOrigin {
    std::string source;
    std::int32_t line = 1;
};

// One (selector, property value) pair of the rule database. The selector and
// the origin are shared by all rules of their style.
struct StyleRule {
    std::shared_ptr<const ParsedSelector> selector;
    tPropertyValue value;
    std::uint32_t specificity = 0;
    std::shared_ptr<const tRuleOrigin> origin;
};

} // namespace Trellis
