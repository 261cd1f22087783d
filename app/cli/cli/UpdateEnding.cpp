#include "cli/UpdateEnding.h"

#include "cli/ProgressLine.h"
#include "cli/Sentences.h"

#include "logic/InterruptSentences.h"
#include "logic/UpdaterMessages.h"

#include <basalt/JsonText.h>
#include <boost/format.hpp>
#include <fmt/format.h>

#include <ostream>

namespace Cli {
namespace {

// "-2" with what the device reported: "-2; DFU state dfuERROR, status errSTALLEDPKT".
std::string errorText(const RunEnd& end)
{
    if (!end.dfuStatus) {
        return std::to_string(end.errorNumber);
    }
    return fmt::format("{}; DFU state {}, status {}", end.errorNumber, Conduit2::dfuStateName(end.dfuStatus->bState),
                       Conduit2::dfuStatusName(end.dfuStatus->bStatus));
}

eDeviceState stateAfter(const RunEnd& end)
{
    switch (end.kind) {
    case RunEnd::Updated: return eDeviceState::NewFirmware;
    case RunEnd::FailedToBoot: return eDeviceState::MaybeInUpdateMode;
    case RunEnd::Failed: break;
    }
    if (end.errorNumber == UpdateResult::WriteFailed) {
        return eDeviceState::UpdateModeIncomplete;
    }
    return end.errorNumber == UpdateResult::NotInUpdateMode ? eDeviceState::MaybeInUpdateMode : eDeviceState::Unknown;
}

std::string failureSentence(const UpdaterDescription& description, const RunEnd& end)
{
    if (end.kind == RunEnd::FailedToBoot) {
        return sentence(description, TerminalMessages::FailedToBoot);
    }
    return (boost::format(TerminalMessages::Error) % description.deviceName % errorText(end)).str();
}

std::string jsonFailure(const RunEnd& end, const std::string& said, eDeviceState state)
{
    std::string fields = fmt::format(R"("result":"failed","error":{},"errorNumber":{})", Basalt::jsonString(said),
                                     end.kind == RunEnd::FailedToBoot ? 0 : end.errorNumber);
    if (end.dfuStatus) {
        fields += fmt::format(R"(,"dfuState":{},"dfuStatus":{})", Basalt::jsonString(Conduit2::dfuStateName(end.dfuStatus->bState)),
                              Basalt::jsonString(Conduit2::dfuStatusName(end.dfuStatus->bStatus)));
    }
    return fmt::format(R"({{{},"state":"{}","exitCode":1,"meaning":{}}})", fields, stateName(state),
                       Basalt::jsonString(exitMeaning(eOutcome::Failed)));
}

} // namespace

eOutcome reportRunEnd(const UpdaterDescription& description, const RunEnd& end, Console& console)
{
    const eDeviceState state = stateAfter(end);
    if (end.kind == RunEnd::Updated) {
        if (console.json) {
            console.out << fmt::format(R"({{"result":"updated","state":"{}","installed":{},"exitCode":0}})",
                                       stateName(state), Basalt::jsonString(end.report.installed))
                        << '\n';
        } else {
            console.out << fmt::format("Installed firmware: {}\n", end.report.installed)
                        << sentence(description, UpdaterMessages::Success) << '\n';
        }
        return eOutcome::Done;
    }
    std::string said = failureSentence(description, end) + " " + stateSentence(description, state);
    if (end.kind == RunEnd::Failed) {
        said += " " + sentence(description, TerminalMessages::IfItFailsAgain);
    }
    console.err << said << '\n';
    if (console.json) {
        console.out << jsonFailure(end, said, state) << '\n';
    }
    return eOutcome::Failed;
}

eOutcome reportInterrupted(const UpdaterDescription& description, const WatchEnd& end, std::uint32_t written,
                           std::uint32_t total, Console& console)
{
    const eDeviceState state = stateWhenEndedIn(end.phase);
    const PhaseNames phase = phaseNames(end.phase, written, total, description.deviceName);
    const std::string said = interruptedSentence(description, end.phase, written, total, end.signal);
    console.err << said << '\n';
    if (console.json) {
        console.out << fmt::format(R"({{"result":"interrupted","phase":"{}","error":{},"state":"{}","exitCode":1,"meaning":{}}})",
                                   phase.name, Basalt::jsonString(said), stateName(state),
                                   Basalt::jsonString(exitMeaning(eOutcome::Stopped)))
                    << '\n';
    }
    return eOutcome::Stopped;
}

} // namespace Cli
