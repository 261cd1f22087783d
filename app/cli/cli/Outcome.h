#pragma once

namespace Cli {

// How a command ended.
enum class eOutcome {
    Done,       // the command did its work (for update: the firmware was updated)
    UpToDate,   // update: no newer firmware
    Declined,   // update: the user answered no; nothing was changed
    Failed,     // update: the update failed
    Stopped,    // update: interrupted twice; the device's state was said
    UsageError,
    NoDevice,
    NoPermission, // a device is attached that this user may not open
};

// The process exit code: 0 success or up to date, 1 update failed or
// stopped, 2 usage error, 3 no device found, 4 a device found but not
// allowed to be opened.
int exitCode(eOutcome outcome);
// What the exit code of `outcome` means, as --help lists it.
const char* exitMeaning(eOutcome outcome);

} // namespace Cli
