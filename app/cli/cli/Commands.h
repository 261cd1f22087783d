#pragma once

#include "cli/Arguments.h"
#include "cli/Console.h"
#include "cli/Outcome.h"
#include "cli/UpdateWatch.h"

#include "logic/UpdaterDescription.h"

namespace Cli {

// list: every attached Trovix Studio with its serial number, mode and firmware.
eOutcome runList(const UpdaterDescription& description, Console& console);
// check: the firmware report of the attached device, as text or JSON.
eOutcome runCheck(const UpdaterDescription& description, Console& console);
// update: the wizard's sequence, from the version check to the check of the updated device.
eOutcome runUpdate(const UpdaterDescription& description, const UpdateProgress& progress, Console& console,
                   bool yes);

// Runs the command that `options` name.
eOutcome runCommand(const Options& options, const UpdaterDescription& description, const UpdateProgress& progress,
                    Console& console);

} // namespace Cli
