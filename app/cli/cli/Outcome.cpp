#include "cli/Outcome.h"

namespace Cli {

int exitCode(eOutcome outcome)
{
    switch (outcome) {
    case eOutcome::Done:
    case eOutcome::UpToDate:
    case eOutcome::Declined:
        return 0;
    case eOutcome::Failed:
    case eOutcome::Stopped:
        return 1;
    case eOutcome::UsageError:
        return 2;
    case eOutcome::NoDevice:
        return 3;
    case eOutcome::NoPermission:
        return 4;
    }
    return 1;
}

const char* exitMeaning(eOutcome outcome)
{
    switch (exitCode(outcome)) {
    case 0: return "success, or the firmware is up to date";
    case 2: return "usage error";
    case 3: return "no Trovix Studio found";
    case 4: return "a Trovix Studio is attached but this user may not open it";
    default: return "the update failed or was stopped";
    }
}

} // namespace Cli
