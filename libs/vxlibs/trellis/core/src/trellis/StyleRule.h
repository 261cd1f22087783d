#pragma once

#include "trellis/ParsedStyle.h"
#include "trellis/PropertyValue.h"

#include <cstdint>
#include <memory>

namespace Trellis {

// One (selector, property value) pair of the rule database. The selector is
// shared by all rules of its style.
struct StyleRule {
    std::shared_ptr<const ParsedSelector> selector;
    tPropertyValue value;
    std::uint32_t specificity = 0;
};

} // namespace Trellis
