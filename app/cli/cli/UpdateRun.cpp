#include "cli/UpdateRun.h"

#include <atomic>
#include <chrono>
#include <mutex>

namespace Cli {
namespace {

// The error number when the device does not come back with the newest firmware.
constexpr std::int32_t NotUpdatedError = 1;
constexpr auto WorkerPoll = std::chrono::milliseconds(50);

} // namespace

// Shared with the thread, which an abandoned run leaves behind.
struct UpdateRun::State {
    const UpdaterDescription& description;
    const UpdateProgress& progress;
    std::atomic<eUpdatePhase> phase;
    std::atomic<bool> workerPhases{false};  // the worker's phase is the run's
    mutable std::mutex lock;
    std::optional<RunEnd> end;

    RunEnd run();
    RunEnd runWorker();
};

UpdateRun::UpdateRun(const UpdaterDescription& description, const UpdateProgress& progress, bool inUpdateMode)
    : state_(std::make_shared<State>(
          description, progress, inUpdateMode ? eUpdatePhase::WritingImageB : eUpdatePhase::RestartingIntoUpdateMode))
{
    thread_ = std::thread([state = state_] {
        RunEnd end = state->run();
        std::lock_guard guard(state->lock);
        state->end = std::move(end);
    });
}

UpdateRun::~UpdateRun()
{
    if (thread_.joinable()) {
        thread_.join();
    }
}

void UpdateRun::abandon()
{
    thread_.detach();
}

eUpdatePhase UpdateRun::phase() const
{
    return state_->workerPhases.load() ? state_->progress.workerPhase() : state_->phase.load();
}

std::optional<RunEnd> UpdateRun::end() const
{
    std::lock_guard guard(state_->lock);
    return state_->end;
}

RunEnd UpdateRun::State::run()
{
    if (!description.enterUpdateMode()) {
        return {RunEnd::FailedToBoot, 0, std::nullopt, {}};
    }
    RunEnd result = runWorker();
    if (result.kind != RunEnd::Updated) {
        return result;
    }
    phase.store(eUpdatePhase::CheckingNewFirmware);
    workerPhases.store(false);
    if (!checkUpdatedDevice(description, result.report)) {
        result.kind = RunEnd::Failed;
        result.errorNumber = NotUpdatedError;
    }
    return result;
}

RunEnd UpdateRun::State::runWorker()
{
    UpdateResult result;
    if (!description.startUpdate(result)) {
        return {RunEnd::Failed, UpdateResult::NotInUpdateMode, std::nullopt, {}};
    }
    workerPhases.store(true);
    while (result.load() == UpdateResult::Running) {
        std::this_thread::sleep_for(WorkerPoll);
    }
    if (result.load() != UpdateResult::Done) {
        phase.store(progress.workerPhase());
        workerPhases.store(false);
        return {RunEnd::Failed, result.load(), progress.failureStatus(), {}};
    }
    return {RunEnd::Updated, 0, std::nullopt, {}};
}

} // namespace Cli
