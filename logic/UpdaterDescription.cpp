#include "logic/UpdaterDescription.h"

#include "logic/Credits.h"
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
    d.copyrightText = "\xC2\xA9 2018"; // "©" in UTF-8
    d.versionText = TVS_FILE_VERSION;
    d.contributorLines = creditLines();
    d.instanceName = "TVSUpdater-1816A7A9-1D81-4c3a-939B-FD9A3ED02943";
    d.isDeviceReady = [&logic] { return logic.isDeviceReady(); };
    d.isUpdatedDeviceBack = [&logic] { return logic.isUpdatedDeviceBack(); };
    d.deniedDeviceNode = [&logic] { return logic.deniedDeviceNode(); };
    d.enterUpdateMode = [&logic] { return logic.enterUpdateMode(); };
    d.requestUpdateMode = [&logic] { return logic.requestUpdateMode(); };
    d.requestInUpdateMode = [&logic] { return logic.requestInUpdateMode(); };
    d.lookForUpdateMode = [&logic] { return logic.lookForUpdateMode(); };
    d.startUpdate = [&logic](UpdateResult& result) { return logic.startUpdate(result); };
    d.readFirmwareInfo = [&logic](Conduit2::USBDeviceInfo& info, std::string& installed, std::string& newest,
                                  bool& updateAvailable) { logic.readFirmwareInfo(info, installed, newest, updateAvailable); };
    d.windowCreated = [&logic](UpdaterMainWindow* window) { logic.windowCreated(window); };
    d.stopUpdateThread = [&logic] { logic.stopUpdateThread(); };
    d.workerPhase = [&logic] { return logic.workerPhase(); };
    d.writtenBytes = [&logic] { return logic.writtenBytes(); };
    d.totalImageBytes = TVSUpdaterUpgradeLogic::totalImageBytes();
    d.windowTitle = d.updaterName;
    if (const auto version = Basalt::ResourceModule::program().fileVersion(); !version.empty()) {
        d.versionText = version;
    }
    return d;
}
