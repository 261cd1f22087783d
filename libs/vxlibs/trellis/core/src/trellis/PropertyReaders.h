#pragma once

#include "trellis/PropertyValue.h"

#include <optional>

namespace Trellis {

// The typed readers of property values. Each gives nothing when the value
// does not convert; a value holding nothing never converts. The bare word
// "no" converts for every reader but alignment: to 0, false, the text "no",
// no font, no picture or the point (0, 0). Floats convert for no reader.

// An int value; with `unit`, only one written with that unit.
std::optional<std::int32_t> readInteger(const tPropertyValue& value, std::optional<Property::eUnit> unit);
// A colour (0xAARRGGBB); with `requireColourUnit`, only one written as a colour.
std::optional<std::uint32_t> readColour(const tPropertyValue& value, bool requireColourUnit);
// A bool; an int or unsigned value without unit (non-zero is true); the bare
// words "yes", "true", "no" and "false".
std::optional<bool> readBool(const tPropertyValue& value);
std::optional<std::string> readText(const tPropertyValue& value);
// A bare word: "left" 4096, "right" 1, "center" 0, any other word 4096.
std::optional<std::uint32_t> readHorizontalAlignment(const tPropertyValue& value);
// A bare word: "top" 256, "bottom" 16, "center" 0, any other word 4096.
std::optional<std::uint32_t> readVerticalAlignment(const tPropertyValue& value);
// A composed font; one whose data could not be found does not convert.
std::optional<std::shared_ptr<Casement::Font>> readFont(const tPropertyValue& value);
// A composed picture; an empty one (declared with "no") converts and hides
// the pictures of less specific rules.
std::optional<std::shared_ptr<LazyPicture>> readPicture(const tPropertyValue& value);
std::optional<Casement::Point> readPoint(const tPropertyValue& value);

} // namespace Trellis
