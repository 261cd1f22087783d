// tvs-updater-cli: the updater's command-line front end.
#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "cli/Sentences.h"
#include "cli/Usage.h"

#include "logic/TVSUpdaterUpgradeLogic.h"

#include <firmware/FirmwareImageSet.h>
#include <sim/SimulatedSession.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

// A standard stream the program was started without would be taken by the
// next file it opens (a USB device, a socket), and results written there.
// /dev/null opened for reading holds its place: writing to it fails, and
// that failure is reported.
void holdClosedStandardStreams()
{
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
            const int held = ::open("/dev/null", O_RDONLY);
            if (held != fd && held >= 0) {
                ::dup2(held, fd);
                ::close(held);
            }
        }
    }
}

std::size_t terminalWidth()
{
    winsize size{};
    if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) {
        return size.ws_col;
    }
    return 80;
}

// Results that did not reach standard output are an error of their own.
int checkedExit(Cli::eOutcome outcome)
{
    std::cout.flush();
    if (std::cout) {
        return Cli::exitCode(outcome);
    }
    const int error = errno;
    std::cerr << "tvs-updater-cli: the results could not be written to standard output (" << std::strerror(error)
              << "); the command ended with: " << Cli::exitMeaning(outcome) << ".\n";
    return 1;
}

int runCommand(const Cli::Options& options)
{
    std::string error;
    if (options.simulated && !Conduit2::Sim::useSimulatedBus(*options.simulated,
                                                            {FirmwareImageSet::imageA(), FirmwareImageSet::imageB()},
                                                            options.simulationState, error)) {
        std::cerr << Cli::ProgramName << ": " << error << '\n';
        if (options.json) {
            std::cout << Cli::jsonError(error, Cli::eOutcome::UsageError) << '\n';
        }
        return checkedExit(Cli::eOutcome::UsageError);
    }
    TVSUpdaterUpgradeLogic logic;
    const UpdaterDescription description = UpdaterDescription::forLogic(logic);
    const Cli::UpdateProgress progress{[&logic] { return logic.writtenBytes(); },
                                       TVSUpdaterUpgradeLogic::totalImageBytes(),
                                       [&logic] { return logic.workerPhase(); },
                                       [&logic] { return logic.failureStatus(); }};
    Cli::Console console{std::cin, std::cout, std::cerr, ::isatty(STDERR_FILENO) == 1, terminalWidth(), options.json};
    const Cli::eOutcome outcome = Cli::runCommand(options, description, progress, console);
    if (outcome == Cli::eOutcome::Stopped) {
        Conduit2::Sim::finishSimulation();
        // The update goes on on its threads: leave at once, without running
        // the static destructors of the device layer that they use.
        const int code = checkedExit(outcome);
        std::cerr.flush();
        std::_Exit(code);
    }
    Conduit2::Sim::finishSimulation();
    return checkedExit(outcome);
}

} // namespace

int main(int argc, char** argv)
{
    holdClosedStandardStreams();
    // A closed pipe makes a write fail instead of ending the program.
    ::signal(SIGPIPE, SIG_IGN);
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    const Cli::ParsedArguments parsed = Cli::parseArguments(arguments);
    switch (parsed.kind) {
    case Cli::ParsedArguments::Help:
        std::cout << Cli::usageText();
        return checkedExit(Cli::eOutcome::Done);
    case Cli::ParsedArguments::Version:
        std::cout << Cli::versionText() << '\n';
        return checkedExit(Cli::eOutcome::Done);
    case Cli::ParsedArguments::UsageError:
        std::cerr << Cli::usageErrorText(parsed.error);
        if (std::ranges::find(arguments, "--json") != arguments.end()) {
            std::cout << Cli::jsonError(parsed.error, Cli::eOutcome::UsageError) << '\n';
        }
        return checkedExit(Cli::eOutcome::UsageError);
    case Cli::ParsedArguments::Run:
        break;
    }
    return runCommand(parsed.options);
}
