#pragma once

#include "trellis/PooledName.h"

#include <cstdint>

namespace Trellis {

struct StyleRule;
class Widget;

// Named look-ups of a widget's style: the value of the first rule that holds
// for the widget now decides. When it converts, `value` takes it and the
// result is true; when there is no such rule or its value does not convert,
// `value` keeps the caller's default and the result is false. Integers and
// colours are taken whatever their unit.
bool lookupInteger(const Widget& widget, const PooledName& property, std::int32_t& value);
bool lookupColour(const Widget& widget, const PooledName& property, std::uint32_t& value);
bool lookupBool(const Widget& widget, const PooledName& property, bool& value);

// The rule that decides the property for the widget now, or null.
const StyleRule* lookupRule(const Widget& widget, const PooledName& property);

} // namespace Trellis
