#pragma once

#include "cli/UpdateWatch.h"

#include "logic/PostUpdateCheck.h"
#include "logic/UpdatePhase.h"
#include "logic/UpdaterDescription.h"

#include <conduit2/DfuStatus.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <thread>

namespace Cli {

// How the device's side of an update ended.
struct RunEnd {
    enum eKind { Updated, FailedToBoot, Failed };
    eKind kind = Failed;
    std::int32_t errorNumber = 0;                  // Failed: the worker's result, or 1 when the check failed
    std::optional<Conduit2::DfuStatus> dfuStatus;  // Failed with -2: what the device reported then
    PostUpdateReport report;                       // what the device reported after the update
};

// The device's side of an update, from the reboot into update mode to the
// check of the new firmware, on a thread of its own: the program meanwhile
// keeps its display going and answers signals in every phase, also during
// the waits that block. Every call into the description happens on that
// thread. A run that was not told to skip it asks the device to restart in
// update mode first.
class UpdateRun {
public:
    UpdateRun(const UpdaterDescription& description, const UpdateProgress& progress, bool inUpdateMode);
    // Waits for the thread unless the run was abandoned.
    ~UpdateRun();
    UpdateRun(const UpdateRun&) = delete;
    UpdateRun& operator=(const UpdateRun&) = delete;

    eUpdatePhase phase() const;
    // Set once the run has ended.
    std::optional<RunEnd> end() const;
    // Lets the run go on without waiting for it: the program is about to
    // end, and the description and progress must live until it does.
    void abandon();

    struct State;

private:
    std::shared_ptr<State> state_;
    std::thread thread_;
};

} // namespace Cli
