#pragma once

#include "basalt/ResourceStorage.h"
#include "basalt/Stream.h"

namespace Basalt {

// A stream over a program resource.
class ResourceStream final : public Stream {
public:
    ResourceStream();

    // See ResourceStorage::openResource.
    bool open(const ResourceModule& module, const ResourceName& name, std::string_view type);

private:
    ResourceStorage& resource_;
};

} // namespace Basalt
