#pragma once

#include "trellis/AttibuteSelector.h"
#include "trellis/PooledName.h"
#include "trellis/PropertyValue.h"

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace Trellis {

// One simple selector as used for matching. An empty name means "any"; a
// type written with a template argument is kept whole ("tree<Bar>").
struct SelectorStep {
    PooledName type;
    PooledName style;
    PooledName id;
    // Attribute name -> rule -> compared value. Several rules on one name are
    // all kept; a later condition with the same name and rule replaces the
    // earlier compared value.
    std::map<PooledName, std::map<AttibuteSelector::eRule, std::string>> attributes;
};

// The seven widget states a selector can test, in this fixed order.
enum eState : std::uint8_t {
    StateEnabled = 0,
    StateSelected = 1,
    StateDown = 2,
    StateOver = 3,
    StateFocus = 4,
    StateInput = 5,
    StateDormant = 6,
    StateCount = 7,
};

// One entry per state: must not hold, must hold, or any.
enum eStateCondition : std::uint8_t { StateMustNotHold = 0, StateMustHold = 1, StateAny = 2 };
using tStateConditions = std::array<std::uint8_t, StateCount>;

// A whole selector: the subject (rightmost simple selector) with its state
// conditions, and the ancestor steps nearest first. An ancestor's child flag
// is true when the relation to the step on its right was "::" (child) and
// false for the descendant relation.
struct ParsedSelector {
    struct tAncestor {
        SelectorStep step;
        bool child = false;
    };

    SelectorStep subject;
    tStateConditions states{StateAny, StateAny, StateAny, StateAny, StateAny, StateAny, StateAny};
    std::vector<tAncestor> ancestors;
};

struct ParsedProperty {
    PooledName name;
    tPropertyValue value;
};

// A style as written: its selectors and declarations in written order, the
// name of the stylesheet it was read from and the line on which its first
// selector begins (1 for the first line).
struct ParsedStyle {
    std::vector<ParsedSelector> selectors;
    std::vector<ParsedProperty> properties;
    std::string source;
    std::int32_t line = 1;
};

} // namespace Trellis
