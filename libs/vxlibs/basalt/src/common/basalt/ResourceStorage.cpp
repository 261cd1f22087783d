#include "basalt/ResourceStorage.h"

#include <cstdio>

namespace Basalt {

bool ResourceStorage::openResource(const ResourceModule& module, const ResourceName& name,
                                   std::string_view type)
{
    close();
    std::span<const unsigned char> bytes;
    if (!module.find(name, type, bytes)) {
        std::fprintf(stderr, "cannot resolve resource: %s\n", describeResource(name, type).c_str());
        return false;
    }
    return memory_.open(bytes.data(), bytes.size());
}

} // namespace Basalt
