#include "trellis/StyleLookups.h"

#include "trellis/ManagerContainer.h"
#include "trellis/PropertyReaders.h"
#include "trellis/StyleManager.h"

namespace Trellis {
namespace {

template <typename T, typename Reader>
bool lookup(const Widget& widget, const PooledName& property, T& value, Reader read)
{
    const StyleRule* found = lookupRule(widget, property);
    const auto converted = found ? read(found->value) : std::nullopt;
    if (converted) {
        value = *converted;
    }
    return converted.has_value();
}

} // namespace

const StyleRule* lookupRule(const Widget& widget, const PooledName& property)
{
    auto* container = ManagerContainer::instance();
    auto* manager = container ? container->styleManagerFor(widget) : nullptr;
    return manager ? manager->findRule(widget, property) : nullptr;
}

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
