#include "cli/AttachedDevices.h"
#include "cli/Commands.h"
#include "cli/Sentences.h"

#include <ostream>

namespace Cli {

eOutcome runList(const UpdaterDescription& description, Console& console)
{
    std::string deniedNode;
    const auto devices = scanAttachedDevices(deniedNode);
    if (!devices) {
        console.err << "The USB devices could not be listed.\n";
        return eOutcome::NoDevice;
    }
    if (devices->empty()) {
        return reportMissingDevice(description, deniedNode, console);
    }
    console.out << deviceTable(*devices);
    return eOutcome::Done;
}

} // namespace Cli
