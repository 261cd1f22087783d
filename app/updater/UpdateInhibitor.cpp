#include "UpdateInhibitor.h"

#include "logic/UpdaterDescription.h"

#include <cstdio>

namespace {

Casement::tInhibition inhibitionFor(const UpdaterDescription& description)
{
    return {"shutdown:sleep", description.updaterName, "Updating the firmware of your " + description.deviceName,
            "block"};
}

} // namespace

UpdateInhibitor::UpdateInhibitor(const UpdaterDescription& description) : lock_(inhibitionFor(description)) {}

void UpdateInhibitor::pageShown(std::string_view page)
{
    if (page != "stand-by") {
        lock_.release();
        return;
    }
    if (!lock_.acquire() && !reported_) {
        std::fprintf(stderr, "tvs-updater: logout, shutdown and suspend are not held off during the update (%s)\n",
                     lock_.failure().c_str());
        reported_ = true;
    }
}
