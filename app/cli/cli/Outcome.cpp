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

} // namespace Cli
