#pragma once

#include "logic/UpdateModeStep.h"
#include "logic/UpdatePhase.h"
#include "logic/UpdateResult.h"

#include <conduit2/USBDeviceInfo.h>

#include <cstdint>
#include <functional>
#include <string>

// The states of the wizard, one page each.
enum WizardState : std::int32_t {
    Scanning = 0,       // connect page
    UpToDate = 1,       // no-newer-firmware page
    UpdateOffered = 2,  // update-available page
    Updating = 3,       // stand-by page
    BootFailed = 4,     // failed-to-boot page
    Succeeded = 5,      // success page
    Failed = 6,         // error page
};

// What the wizard asks of the upgrade logic; the wizard never touches USB.
struct WizardCallbacks {
    // The device is attached and usable in its normal mode.
    std::function<bool()> isDeviceReady;
    // The reboot into update mode, in steps that never block: asked once per
    // UPDATE (and on RETRY when the device is ready), starts the reboot.
    std::function<eUpdateModeStep()> requestUpdateMode;
    // Asked first on RETRY: whether the device is (or, after the wait, may
    // be) in update mode.
    std::function<eUpdateModeStep()> requestInUpdateMode;
    // UpdateModeWait after a step that asked for it: the one look for the
    // device in update mode.
    std::function<bool()> lookForUpdateMode;
    // Starts the update on its worker, which sets the result to 0 at once and
    // later to its final code; false when it did not start (the result then
    // holds the failure code).
    std::function<bool(UpdateResult&)> startUpdate;
    // Fills the device's identity, the installed and newest version texts and
    // whether an update is available; the newest text also without a device.
    std::function<void(Conduit2::USBDeviceInfo&, std::string&, std::string&, bool&)> readFirmwareInfo;
    // After an update: the device that was updated (found by its serial
    // number) is attached again.
    std::function<bool()> isUpdatedDeviceBack;
    // While the update's worker runs: the phase it is in.
    std::function<eUpdatePhase()> workerPhase;
};
