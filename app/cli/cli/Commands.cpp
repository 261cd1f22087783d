#include "cli/Commands.h"

namespace Cli {

eOutcome runCommand(const Options& options, const UpdaterDescription& description, const UpdateProgress& progress,
                    Console& console)
{
    switch (options.command) {
    case eCommand::List:
        return runList(description, console);
    case eCommand::Check:
        return runCheck(description, console);
    case eCommand::Update:
        return runUpdate(description, progress, console, options.yes);
    }
    return eOutcome::UsageError;
}

} // namespace Cli
