#include "cli/Commands.h"
#include "cli/FirmwareReport.h"
#include "cli/ProgressDisplay.h"
#include "cli/Sentences.h"
#include "cli/UpdateEnding.h"
#include "cli/UpdateRun.h"

#include "logic/InterruptSentences.h"
#include "logic/TVSUpdaterUpgradeLogic.h"
#include "logic/UpdaterMessages.h"

#include <fmt/format.h>

#include <algorithm>
#include <cctype>
#include <istream>
#include <memory>
#include <ostream>
#include <string>

namespace Cli {
namespace {

bool isYes(std::string answer)
{
    std::erase_if(answer, [](unsigned char c) { return std::isspace(c) != 0; });
    std::ranges::transform(answer, answer.begin(), [](unsigned char c) { return std::tolower(c); });
    return answer == "y" || answer == "yes";
}

// The question goes to standard error, which stays with the user when the
// results are redirected.
bool confirmUpdate(const UpdaterDescription& description, Console& console)
{
    console.err << fmt::format("Update the firmware of your {} now? [y/N] ", description.deviceName) << std::flush;
    std::string answer;
    return std::getline(console.in, answer) && isYes(answer);
}

std::unique_ptr<ProgressView> progressView(const UpdaterDescription& description, const UpdateProgress& progress,
                                           Console& console)
{
    if (console.json) {
        return std::make_unique<ProgressJson>(console.out, console.err, progress.totalBytes);
    }
    return std::make_unique<ProgressDisplay>(console.err, console.terminal, console.width, progress.totalBytes,
                                             description.deviceName);
}

// From the reboot into update mode to the check of the updated device, with
// the interruptions caught in every phase.
eOutcome updateDevice(const UpdaterDescription& description, const UpdateProgress& progress, Console& console,
                      bool inUpdateMode)
{
    Basalt::InterruptWatch interrupts;
    if (inUpdateMode) {
        console.err << fmt::format("Your {} is in firmware update mode already.\n", description.deviceName);
    }
    console.err << sentence(description, UpdaterMessages::StandBy) << '\n' << std::flush;
    const auto view = progressView(description, progress, console);
    UpdateRun run(description, progress, inUpdateMode);
    const WatchEnd end = watchUpdate(run, progress, interrupts, *view, [&description](eUpdatePhase phase, int signal) {
        return interruptWarning(description, phase, signal);
    });
    if (end.interrupted) {
        run.abandon();
        return reportInterrupted(description, end, progress.writtenBytes(), progress.totalBytes, console);
    }
    return reportRunEnd(description, *run.end(), console);
}

// An update that did not start: the sentence, or the JSON result.
void reportNotStarted(const std::string& message, std::string_view result, Console& console)
{
    if (console.json) {
        console.out << fmt::format(R"({{"result":"{}","state":"unchanged","exitCode":0}})", result) << '\n';
    } else {
        console.out << message << '\n';
    }
}

} // namespace

eOutcome runUpdate(const UpdaterDescription& description, const UpdateProgress& progress, Console& console,
                   bool yes)
{
    const auto report = readFirmwareReport(description);
    if (!report) {
        return reportMissingDevice(description, description.deniedDeviceNode(), console);
    }
    if (console.json) {
        console.out << firmwareReportJson(*report) << '\n' << std::flush;
    } else {
        printFirmwareReport(*report, console.out);
        console.out << std::flush;
    }
    if (!report->updateAvailable) {
        reportNotStarted(sentence(description, UpdaterMessages::NoNewerFirmware), "up-to-date", console);
        return eOutcome::UpToDate;
    }
    if (!yes && !confirmUpdate(description, console)) {
        reportNotStarted("The firmware was not updated.", "declined", console);
        return eOutcome::Declined;
    }
    return updateDevice(description, progress, console,
                        report->installed == TVSUpdaterUpgradeLogic::UpdateModeText);
}

} // namespace Cli
