#include "casement/runModule.h"

#include "casement/AppModule.h"

namespace Casement {

int runModule()
{
    AppModule* module = AppModule::instance();
    if (module == nullptr) {
        return 0;
    }
    if (module->startModule() && module->application() != nullptr) {
        module->application()->runLoop();
    }
    module->destroyApplication(module->startResult());
    return 0;
}

} // namespace Casement
