#pragma once

#include "trellis/ParsedStyle.h"

#include <cstdint>

namespace Trellis {

class Widget;

// 256 for each state condition of the subject that is not "any", and for the
// subject and every ancestor step: 16777216 for an id, 65536 for a style
// name, 16 per distinct attribute name tested, 1 for a type other than "any".
std::uint32_t selectorSpecificity(const ParsedSelector& selector);

// Whether the selector's steps match the widget and its ancestors; attribute
// conditions are tested only with `checkAttributes`. State conditions are
// not tested here (see stateConditionsHold).
bool selectorMatches(const ParsedSelector& selector, const Widget& widget, bool checkAttributes);

// For a selector that matches the widget structurally: whether it also
// matches with its attribute conditions tested now.
bool attributeConditionsHold(const ParsedSelector& selector, const Widget& widget);

// Whether all seven state conditions hold for the widget now.
bool stateConditionsHold(const tStateConditions& states, const Widget& widget);

} // namespace Trellis
