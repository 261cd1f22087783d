#pragma once

#include "logic/UpdateModeStep.h"
#include "logic/UpdatePhase.h"
#include "logic/UpdateResult.h"

#include <conduit2/USBDeviceInfo.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace Casement {
class StandaloneWindow;
}
namespace Trellis {
template <typename> class Window;
}
class TVSUpdaterUpgradeLogic;

using UpdaterMainWindow = Trellis::Window<Casement::StandaloneWindow>;

// The contract between the upgrade logic, the application and the wizard:
// the updater's texts and the logic's operations as callbacks (which do not
// own the logic).
struct UpdaterDescription {
    std::string deviceName;        // "%1%" of every message
    std::string productCode;
    std::string productCode2;
    std::string updaterName;       // "%3%" of the error message
    std::string applicationTitle;
    std::string copyrightText;     // "© 2018"
    std::string versionText;       // the program's FileVersion when it can be read
    std::array<std::string, 5> contributorLines; // the credited projects, see logic/Credits.h
    std::string windowTitle;       // a copy of updaterName
    std::string instanceName;

    std::function<bool()> isDeviceReady;
    std::function<bool()> isUpdatedDeviceBack;
    std::function<std::string()> deniedDeviceNode;
    std::function<bool()> enterUpdateMode;
    std::function<eUpdateModeStep()> requestUpdateMode;
    std::function<eUpdateModeStep()> requestInUpdateMode;
    std::function<bool()> lookForUpdateMode;
    std::function<bool(UpdateResult&)> startUpdate;
    std::function<void(Conduit2::USBDeviceInfo&, std::string&, std::string&, bool&)> readFirmwareInfo;
    std::function<void(UpdaterMainWindow*)> windowCreated;
    std::function<void()> stopUpdateThread;
    // The running (or last) update's worker: its phase, and the image bytes
    // the device has accepted so far of totalImageBytes.
    std::function<eUpdatePhase()> workerPhase;
    std::function<std::uint32_t()> writtenBytes;
    std::uint32_t totalImageBytes = 0;

    // The updater's description, its callbacks bound to `logic`.
    static UpdaterDescription forLogic(TVSUpdaterUpgradeLogic& logic);
};
