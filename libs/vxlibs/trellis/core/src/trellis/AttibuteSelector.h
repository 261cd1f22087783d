#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace Trellis::AttibuteSelector {

// The comparison of an attribute condition, as written between the attribute
// name and the compared value. 0 and 1 are never produced by the parser.
enum eRule : std::uint8_t {
    RuleEqual = 2,       // =
    RuleBeginsWith = 3,  // ^=
    RuleEndsWith = 4,    // $=
    RuleContains = 5,    // *=
    RuleNotEqual = 6,    // != : the negation of RuleEqual
};

// The value a widget answers for an attribute name: absent, a bool (built-in
// attributes such as isHorizontal) or a text.
struct tDoesntExist {
    bool operator==(const tDoesntExist&) const = default;
};
using tValue = std::variant<tDoesntExist, bool, std::string>;

} // namespace Trellis::AttibuteSelector
