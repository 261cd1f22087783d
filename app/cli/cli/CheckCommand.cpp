#include "cli/Commands.h"
#include "cli/FirmwareReport.h"
#include "cli/Sentences.h"

#include <ostream>

namespace Cli {

eOutcome runCheck(const UpdaterDescription& description, Console& console)
{
    const auto report = readFirmwareReport(description);
    if (!report) {
        return reportMissingDevice(description, description.deniedDeviceNode(), console);
    }
    if (console.json) {
        console.out << firmwareReportJson(*report) << '\n';
    } else {
        printFirmwareReport(*report, console.out);
    }
    return eOutcome::Done;
}

} // namespace Cli
