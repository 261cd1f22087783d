#include "TVSUpdaterAppModule.h"

#include "FirmwareUpdaterApp.h"
#include "WarningPrinter.h"

#include "logic/TVSUpdaterUpgradeLogic.h"
#include "logic/UpdaterDescription.h"

#include <basalt/init_basalt.h>
#include <casement/init_casement.h>
#include <casement/runModule.h>
#include <sim/SimulatedSession.h>
#include <trellis/ManagerContainer.h>
#include <trellis/init_trellis.h>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr std::uint32_t ProductCode = 0x56545653;  // "VTVS"
constexpr std::uint32_t BasaltInterface = 0x02030000;
constexpr std::uint32_t CasementInterface = 0x04010000;
constexpr std::uint32_t InterfaceRevision = 0x000F0001;

} // namespace

TVSUpdaterAppModule::TVSUpdaterAppModule() = default;

TVSUpdaterAppModule::~TVSUpdaterAppModule() = default;

// Basalt and Trellis report their own failures to start, and the program goes
// on as far as it can without them. Without Casement there is no display and
// no window to show: the program says so and ends with status 1.
int TVSUpdaterAppModule::createApplication()
{
    Basalt::initBasalt(ProductCode, "TROVIX STUDIO UPDATER", BasaltInterface, InterfaceRevision);
    if (!Casement::initCasement(CasementInterface, InterfaceRevision)) {
        std::fputs("tvs-updater: the window cannot be opened: no display could be reached "
                   "(DISPLAY or WAYLAND_DISPLAY names it); tvs-updater-cli updates without a window\n",
                   stderr);
        exitStatus_ = 1;
        return 0;
    }
    Trellis::initTrellis(BasaltInterface, InterfaceRevision);
    printWarningsOnStandardError();
    Trellis::ManagerContainer::setUseSkinFolder(true);
    logic_ = std::make_unique<TVSUpdaterUpgradeLogic>();
    description_ = std::make_unique<UpdaterDescription>(UpdaterDescription::forLogic(*logic_));
    auto application = std::make_unique<FirmwareUpdaterApp>(*description_);
    const FirmwareUpdaterApp& started = *application;
    if (attachApplication(std::move(application))) {
        return 1;
    }
    // Another copy runs (it was handed the command line), or the display
    // was reached but refused the window.
    if (!started.windowError().empty()) {
        std::fprintf(stderr, "tvs-updater: the window cannot be opened: %s\n", started.windowError().c_str());
        exitStatus_ = 1;
    }
    return 0;
}

void TVSUpdaterAppModule::destroyApplication(int)
{
    const auto* app = dynamic_cast<const FirmwareUpdaterApp*>(application());
    const bool updateAbandoned = app != nullptr && app->updateAbandoned();
    const int status = app != nullptr ? app->exitStatus() : 0;
    releaseApplication();
    if (updateAbandoned) {
        // The worker may still be writing until its next stopping point: the
        // program leaves without tearing down the logic and the device layer
        // it uses. The device stays in update mode, where the next run finds
        // it and completes the update. The status is 1 when a second signal
        // ended the update, 0 after the user's Yes.
        Conduit2::Sim::finishSimulation();
        std::fflush(nullptr);
        std::_Exit(status);
    }
    description_.reset();
    logic_.reset();
    Trellis::shutdownTrellis();
    Casement::shutdownCasement();
    Basalt::shutdownBasalt();
}

int runUpdater()
{
    Casement::runModule();
    const auto* module = dynamic_cast<const TVSUpdaterAppModule*>(Casement::AppModule::instance());
    return module != nullptr ? module->exitStatus() : 0;
}
