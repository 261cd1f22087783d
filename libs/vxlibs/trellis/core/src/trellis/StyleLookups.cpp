#include "trellis/StyleLookups.h"

#include "trellis/ManagerContainer.h"
#include "trellis/PropertyReaders.h"
#include "trellis/StyleManager.h"

namespace Trellis {
namespace {

template <typename T, typename Reader>
bool lookup(const Widget& widget, const PooledName& property, T& value, Reader read)
{
    auto* container = ManagerContainer::instance();
    auto* manager = container ? container->styleManagerFor(widget) : nullptr;
    const tPropertyValue* found = manager ? manager->findProperty(widget, property) : nullptr;
    const auto converted = found ? read(*found) : std::nullopt;
    if (converted) {
        value = *converted;
    }
    return converted.has_value();
}

} // namespace

bool lookupInteger(const Widget& widget, const PooledName& property, std::int32_t& value)
{
    return lookup(widget, property, value, [](const tPropertyValue& v) { return readInteger(v, std::nullopt); });
}

bool lookupColour(const Widget& widget, const PooledName& property, std::uint32_t& value)
{
    return lookup(widget, property, value, [](const tPropertyValue& v) { return readColour(v, false); });
}

bool lookupBool(const Widget& widget, const PooledName& property, bool& value)
{
    return lookup(widget, property, value, readBool);
}

} // namespace Trellis
