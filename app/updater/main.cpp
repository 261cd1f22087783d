// tvs-updater: the updater's window.
#include "TVSUpdaterAppModule.h"
#include "UpdaterOptions.h"

#include <firmware/FirmwareImageSet.h>
#include <sim/SimulatedSession.h>

#include <iostream>
#include <string>
#include <vector>

namespace {

// The program's module, registered before main() runs.
TVSUpdaterAppModule module;

} // namespace

int main(int argc, char** argv)
{
    const UpdaterOptions options = parseUpdaterOptions(std::vector<std::string_view>(argv + 1, argv + argc));
    switch (options.action) {
    case UpdaterOptions::Help: std::cout << updaterUsage(); return 0;
    case UpdaterOptions::Version: std::cout << "tvs-updater " << TVS_UPDATER_FILE_VERSION << '\n'; return 0;
    case UpdaterOptions::UsageError:
        std::cerr << "tvs-updater: " << options.error << "\n(tvs-updater --help lists the options)\n";
        return 2;
    case UpdaterOptions::Run: break;
    }
    std::string error;
    if (options.simulated && !Conduit2::Sim::useSimulatedBus(*options.simulated,
                                                            {FirmwareImageSet::imageA(), FirmwareImageSet::imageB()},
                                                            options.simulationState, error)) {
        std::cerr << "tvs-updater: " << error << '\n';
        return 2;
    }
    const int status = runUpdater();
    Conduit2::Sim::finishSimulation();
    return status;
}
