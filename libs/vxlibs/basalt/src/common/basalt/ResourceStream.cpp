#include "basalt/ResourceStream.h"

namespace Basalt {

ResourceStream::ResourceStream()
    : Stream(std::make_shared<ResourceStorage>())
    , resource_(static_cast<ResourceStorage&>(*storage()))
{
}

bool ResourceStream::open(const ResourceModule& module, const ResourceName& name,
                          std::string_view type)
{
    return resource_.openResource(module, name, type);
}

} // namespace Basalt
