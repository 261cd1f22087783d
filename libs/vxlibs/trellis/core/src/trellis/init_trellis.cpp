#include "trellis/init_trellis.h"

#include "trellis/Accessibility.h"
#include "trellis/ManagerContainer.h"

#include <basalt/ResourceModule.h>
#include <basalt/init_basalt.h>

#include <memory>

namespace Trellis {
namespace {

std::unique_ptr<ManagerContainer>& resources()
{
    static std::unique_ptr<ManagerContainer> instance;
    return instance;
}

} // namespace

bool initTrellis(std::uint32_t first, std::uint32_t second)
{
    Basalt::checkInterfaceVersion(first, second);
    if (resources()) {
        return false;
    }
    resources() = std::make_unique<ManagerContainer>(Basalt::ResourceModule::program());
    return true;
}

void shutdownTrellis()
{
    Accessibility::stop();
    resources().reset();
}

ManagerContainer* trellisResources()
{
    return resources().get();
}

} // namespace Trellis
