#include "cli/Commands.h"
#include "cli/FirmwareReport.h"
#include "cli/Sentences.h"

#include "logic/PostUpdateCheck.h"
#include "logic/UpdaterMessages.h"

#include <fmt/format.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <istream>
#include <optional>
#include <ostream>
#include <string>

namespace Cli {
namespace {

// The error number when the device does not come back with the newest firmware.
constexpr std::int32_t NotUpdatedError = 1;
// How long after a first Ctrl-C during the update a second one stops it.
constexpr std::chrono::seconds StopWindow{3};

bool isYes(std::string answer)
{
    std::erase_if(answer, [](unsigned char c) { return std::isspace(c) != 0; });
    std::ranges::transform(answer, answer.begin(), [](unsigned char c) { return std::tolower(c); });
    return answer == "y" || answer == "yes";
}

bool confirmUpdate(const UpdaterDescription& description, Console& console)
{
    console.out << fmt::format("Update the firmware of your {} now? [y/N] ", description.deviceName) << std::flush;
    std::string answer;
    return std::getline(console.in, answer) && isYes(answer);
}

eOutcome fail(const UpdaterDescription& description, Console& console, std::int32_t errorNumber)
{
    console.err << sentence(description, UpdaterMessages::Error, errorNumber) << '\n';
    return eOutcome::Failed;
}

// Ctrl-C during the update: the warning of the quit question, without the
// question itself, and how to stop anyway.
StopRule stopRule(const UpdaterDescription& description)
{
    const std::string question = sentence(description, UpdaterMessages::QuitDuringUpdate);
    return {fmt::format("{}\nPress Ctrl-C again within {} seconds to stop.", question.substr(0, question.find('\n')),
                        StopWindow.count()),
            StopWindow};
}

// Starts the worker and watches it while Ctrl-C is caught; the worker's
// result, or nothing when the user stopped the watch.
std::optional<std::int32_t> runWorker(const UpdaterDescription& description, const UpdateProgress& progress,
                                      Console& console)
{
    InterruptWatch interrupts;
    UpdateResult result;
    if (!description.startUpdate(result)) {
        return UpdateResult::NotInUpdateMode;
    }
    if (watchUpdate(result, progress, stopRule(description), interrupts, console) == eWatchEnd::Stopped) {
        return std::nullopt;
    }
    return result.load();
}

// From the reboot into update mode to the check of the updated device.
eOutcome updateDevice(const UpdaterDescription& description, const UpdateProgress& progress, Console& console)
{
    console.out << fmt::format("Restarting your {} in firmware update mode...\n", description.deviceName)
                << std::flush;
    if (!description.enterUpdateMode()) {
        console.err << sentence(description, UpdaterMessages::FailedToBoot) << '\n';
        return eOutcome::Failed;
    }
    console.out << sentence(description, UpdaterMessages::StandBy) << '\n' << std::flush;
    const auto result = runWorker(description, progress, console);
    if (!result) {
        description.stopUpdateThread();
        console.err << fmt::format("The update of your {} was stopped.\n", description.deviceName);
        return eOutcome::Stopped;
    }
    if (*result != UpdateResult::Done) {
        return fail(description, console, *result);
    }
    console.out << fmt::format("Checking the firmware of your {}...\n", description.deviceName) << std::flush;
    PostUpdateReport report;
    if (!checkUpdatedDevice(description, report)) {
        return fail(description, console, NotUpdatedError);
    }
    console.out << fmt::format("Installed firmware: {}\n", report.installed);
    console.out << sentence(description, UpdaterMessages::Success) << '\n';
    return eOutcome::Done;
}

} // namespace

eOutcome runUpdate(const UpdaterDescription& description, const UpdateProgress& progress, Console& console,
                   bool yes)
{
    const auto report = readFirmwareReport(description);
    if (!report) {
        return reportMissingDevice(description, description.deniedDeviceNode(), console);
    }
    printFirmwareReport(*report, console.out);
    if (!report->updateAvailable) {
        console.out << sentence(description, UpdaterMessages::NoNewerFirmware) << '\n';
        return eOutcome::UpToDate;
    }
    if (!yes && !confirmUpdate(description, console)) {
        console.out << "The firmware was not updated.\n";
        return eOutcome::Declined;
    }
    return updateDevice(description, progress, console);
}

} // namespace Cli
