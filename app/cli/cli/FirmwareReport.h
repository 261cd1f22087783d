#pragma once

#include "logic/UpdaterDescription.h"

#include <iosfwd>
#include <optional>
#include <string>

namespace Cli {

// What the version check says about the attached device.
struct FirmwareReport {
    std::string serial;
    std::string installed;
    std::string newest;
    bool updateAvailable = false;
};

// One scan and the version check; nothing when no device is found.
std::optional<FirmwareReport> readFirmwareReport(const UpdaterDescription& description);

// The report as aligned "Label: value" lines.
void printFirmwareReport(const FirmwareReport& report, std::ostream& out);
// The report as one JSON object with the keys serial, installed, newest and updateAvailable.
std::string firmwareReportJson(const FirmwareReport& report);

} // namespace Cli
