#pragma once

#include "cli/Console.h"
#include "cli/Outcome.h"
#include "cli/UpdateRun.h"
#include "cli/UpdateWatch.h"

#include "logic/DeviceState.h"
#include "logic/UpdaterDescription.h"

namespace Cli {

// The last words of an update that ran to its end: the outcome's sentence
// (on standard output for a success, on standard error for a failure, with
// what the device reported and the state it was left in), or with --json one
// final object on standard output.
eOutcome reportRunEnd(const UpdaterDescription& description, const RunEnd& end, Console& console);

// The last words of an update that was interrupted twice: which signal, in
// which phase, and the state the device was left in with the command that
// finishes the job.
eOutcome reportInterrupted(const UpdaterDescription& description, const WatchEnd& end, std::uint32_t written,
                           std::uint32_t total, Console& console);

} // namespace Cli
