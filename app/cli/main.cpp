// tvs-updater-cli: the updater's command-line front end.
#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "cli/SimulatedDevice.h"
#include "cli/Usage.h"

#include "logic/TVSUpdaterUpgradeLogic.h"

#include <cstdlib>
#include <iostream>
#include <string_view>
#include <vector>

#include <unistd.h>

namespace {

int runCommand(const Cli::Options& options)
{
    if (options.simulated) {
        Cli::useSimulatedBus(*options.simulated);
    }
    TVSUpdaterUpgradeLogic logic;
    const UpdaterDescription description = UpdaterDescription::forLogic(logic);
    const Cli::UpdateProgress progress{[&logic] { return logic.writtenBytes(); },
                                       TVSUpdaterUpgradeLogic::totalImageBytes()};
    Cli::Console console{std::cin, std::cout, std::cerr, ::isatty(STDOUT_FILENO) == 1};
    const Cli::eOutcome outcome = Cli::runCommand(options, description, progress, console);
    if (outcome == Cli::eOutcome::Stopped) {
        // The worker may still be writing: leave without running the static
        // destructors of the device layer that it uses.
        std::cout.flush();
        std::cerr.flush();
        std::_Exit(Cli::exitCode(outcome));
    }
    return Cli::exitCode(outcome);
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    const Cli::ParsedArguments parsed = Cli::parseArguments(arguments);
    switch (parsed.kind) {
    case Cli::ParsedArguments::Help:
        std::cout << Cli::usageText();
        return 0;
    case Cli::ParsedArguments::Version:
        std::cout << Cli::versionText() << '\n';
        return 0;
    case Cli::ParsedArguments::UsageError:
        std::cerr << Cli::usageErrorText(parsed.error);
        return Cli::exitCode(Cli::eOutcome::UsageError);
    case Cli::ParsedArguments::Run:
        break;
    }
    return runCommand(parsed.options);
}
