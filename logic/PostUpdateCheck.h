#pragma once

#include "logic/UpdaterDescription.h"

#include <conduit2/USBDeviceInfo.h>

#include <chrono>
#include <functional>
#include <string>

// What the device reports after an update.
struct PostUpdateReport {
    Conduit2::USBDeviceInfo info;
    std::string installed;
    std::string newest;
};

// What one look at the updated device found.
enum class eUpdatedDevice {
    Current,        // back, with the newest firmware
    NotCurrent,     // back in update mode, or with another firmware
    NotBack,        // not back after the wait
    WaitForReturn,  // not back yet: look once more after UpdatedDeviceReturnWait
};

// How long a device that is not back at once after its update is waited for.
constexpr std::chrono::milliseconds UpdatedDeviceReturnWait{5000};

// The two questions the check asks of the upgrade logic.
struct UpdatedDeviceQuestions {
    // The device that was updated (found by its serial number) is attached again.
    std::function<bool()> isUpdatedDeviceBack;
    // Its identity, installed and newest version texts, and whether an update is available.
    std::function<void(Conduit2::USBDeviceInfo&, std::string&, std::string&, bool&)> readFirmwareInfo;
};

// Once the worker has reported success: looks for the updated device and, when
// it is back, fills the report with what it reports. The first look (`afterWait`
// false) answers WaitForReturn for a device that is not back yet; the look after
// the wait answers NotBack then. The update succeeded only with Current: the
// installed text equals the newest byte for byte.
eUpdatedDevice lookAtUpdatedDevice(const UpdatedDeviceQuestions& ask, bool afterWait, PostUpdateReport& report);

// The whole check for a caller that may block: the first look, and after the
// wait on the clock the second. True only when the device is current; false
// (the error number is then 1) when it did not come back, came back in update
// mode or reports another firmware.
bool checkUpdatedDevice(const UpdaterDescription& description, PostUpdateReport& report);
