#include "logic/InterruptSentences.h"

#include "logic/DeviceState.h"
#include "logic/PhaseNames.h"
#include "logic/UpdaterMessages.h"

#include <fmt/format.h>

#include <signal.h>

std::string signalName(int signal)
{
    switch (signal) {
    case SIGINT: return "SIGINT";
    case SIGTERM: return "SIGTERM";
    case SIGHUP: return "SIGHUP";
    case SIGPIPE: return "SIGPIPE";
    default: return fmt::format("signal {}", signal);
    }
}

std::string interruptWarning(const UpdaterDescription& description, eUpdatePhase phase, int signal)
{
    const std::string quit = UpdaterMessages::format(UpdaterMessages::QuitDuringUpdate, description.deviceName, 0,
                                                     description.updaterName);
    return fmt::format("{}\nEnding the program now would leave this: {}\n{} to end it anyway; otherwise the update "
                       "goes on.",
                       quit.substr(0, quit.find('\n')), stateSentence(description, stateWhenEndedIn(phase)),
                       signal == SIGINT ? "Press Ctrl-C again" : "Send " + signalName(signal) + " again");
}

std::string interruptedSentence(const UpdaterDescription& description, eUpdatePhase phase, std::uint32_t written,
                                std::uint32_t total, int signal)
{
    return fmt::format("The program was ended by {} during the phase \"{}\". {}", signalName(signal),
                       phaseNames(phase, written, total, description.deviceName).text,
                       stateSentence(description, stateWhenEndedIn(phase)));
}
