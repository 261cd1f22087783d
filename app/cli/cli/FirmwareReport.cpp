#include "cli/FirmwareReport.h"


#include <basalt/JsonText.h>
#include <fmt/format.h>
#include <fmt/ostream.h>

namespace Cli {

std::optional<FirmwareReport> readFirmwareReport(const UpdaterDescription& description)
{
    if (!description.isDeviceReady()) {
        return std::nullopt;
    }
    Conduit2::USBDeviceInfo info;
    FirmwareReport report;
    description.readFirmwareInfo(info, report.installed, report.newest, report.updateAvailable);
    report.serial = info.serialNumber;
    return report;
}

void printFirmwareReport(const FirmwareReport& report, std::ostream& out)
{
    fmt::print(out, "Serial number:      {}\n", report.serial);
    fmt::print(out, "Installed firmware: {}\n", report.installed);
    fmt::print(out, "Newest firmware:    {}\n", report.newest);
    fmt::print(out, "Update available:   {}\n", report.updateAvailable ? "yes" : "no");
}

std::string firmwareReportJson(const FirmwareReport& report)
{
    return fmt::format(R"({{"serial":{},"installed":{},"newest":{},"updateAvailable":{}}})",
                       Basalt::jsonString(report.serial), Basalt::jsonString(report.installed), Basalt::jsonString(report.newest),
                       report.updateAvailable ? "true" : "false");
}

} // namespace Cli
