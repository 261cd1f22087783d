#pragma once

#include <cstdint>

namespace Trellis::Property {

// How a property value was written. Readers accept a value only when its unit
// is the one they expect; the last three are made by composition, never parsed.
enum eUnit : std::uint8_t {
    UnitNone = 0,     // a number without unit
    UnitPx = 1,       // a number followed by "px"
    UnitPercent = 2,  // a number followed by "%"
    UnitBool = 3,     // true or false
    UnitUrl = 4,      // url("..."): the quoted text
    UnitString = 5,   // a bare identifier
    UnitColor = 6,    // rgb(...), rgba(...), #hex: 0xAARRGGBB
    UnitFont = 7,
    UnitPicture = 8,
    UnitPoint = 9,
};

} // namespace Trellis::Property
