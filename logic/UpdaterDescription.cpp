#include "logic/UpdaterDescription.h"

#include "logic/TVSUpdaterUpgradeLogic.h"

#include <basalt/ResourceModule.h>

UpdaterDescription UpdaterDescription::forLogic(TVSUpdaterUpgradeLogic& logic)
{
    UpdaterDescription d;
    d.deviceName = "Trovix Studio";
    d.productCode = "TVS";
    d.productCode2 = "TVS";
    d.updaterName = "TVS Updater";
    d.applicationTitle = "TROVIX STUDIO UPDATER";
    d.versionText = TVS_FILE_VERSION;
    d.contributorLines = {"Mara Lindqvist, Tobias Renner, Aiko Sato, Jonas Weber, Priya Natarajan,",
                          "Elias Brandt, Sofia Moretti, Daniel Okafor, Lena Hartmann, Felix Ortega,",
                          "Nora Halvorsen, Samuel Achterberg, Ines Duarte, Kai Nakamura,",
                          "Greta Vogel, Omar Haddad, Lucia Ferreira", ""};
    d.instanceName = "TVSUpdater-1816A7A9-1D81-4c3a-939B-FD9A3ED02943";
    d.isDeviceReady = [&logic] { return logic.isDeviceReady(); };
    d.enterUpdateMode = [&logic] { return logic.enterUpdateMode(); };
    d.isInUpdateMode = [&logic] { return logic.isInUpdateMode(); };
    d.startUpdate = [&logic](UpdateResult& result) { return logic.startUpdate(result); };
    d.readFirmwareInfo = [&logic](Conduit2::USBDeviceInfo& info, std::string& installed, std::string& newest,
                                  bool& updateAvailable) { logic.readFirmwareInfo(info, installed, newest, updateAvailable); };
    d.isUpdateRunning = [&logic] { return logic.isUpdateRunning(); };
    d.windowCreated = [&logic](UpdaterMainWindow* window) { logic.windowCreated(window); };
    d.stopUpdateThread = [&logic] { logic.stopUpdateThread(); };
    d.windowTitle = d.updaterName;
    if (const auto version = Basalt::ResourceModule::program().fileVersion(); !version.empty()) {
        d.versionText = version;
    }
    return d;
}
