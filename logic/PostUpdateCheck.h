#pragma once

#include "logic/UpdaterDescription.h"

#include <conduit2/USBDeviceInfo.h>

#include <cstdint>
#include <string>

// What the device reports after an update.
struct PostUpdateReport {
    Conduit2::USBDeviceInfo info;
    std::string installed;
    std::string newest;
};

// Once the worker has reported success: finds the updated device again by
// its serial number (a second time after 5000 ms if it is not back yet) and compares its firmware with
// the newest. Returns true when the installed text equals the newest; false
// (the error number is then 1) when that device did not come back, came back
// in update mode or reports another firmware. The report holds what was read.
bool checkUpdatedDevice(const UpdaterDescription& description, PostUpdateReport& report);
