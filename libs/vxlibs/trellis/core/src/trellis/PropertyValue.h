#pragma once

#include "trellis/Property.h"

#include <casement/Geometry.h>

#include <cstdint>
#include <memory>
#include <string>
#include <variant>

namespace Casement {
class Font;
} // namespace Casement

namespace Trellis {

class LazyPicture;

// One property value of a stylesheet: what was written (or composed) and the
// unit that says how. An empty value (an undefined constant) never converts.
struct tPropertyValue {
    using tValue = std::variant<std::monostate, float, std::uint32_t, std::int32_t, bool, std::string,
                                std::shared_ptr<Casement::Font>, Casement::Point, std::shared_ptr<LazyPicture>>;

    tValue value;
    Property::eUnit unit = Property::UnitNone;

    bool operator==(const tPropertyValue&) const = default;
};

} // namespace Trellis
