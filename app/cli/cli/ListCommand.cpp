#include "cli/AttachedDevices.h"
#include "cli/Commands.h"
#include "cli/Sentences.h"

#include <ostream>

namespace Cli {

eOutcome runList(const UpdaterDescription& description, Console& console)
{
    const auto devices = scanAttachedDevices();
    if (!devices) {
        console.err << "The USB devices could not be listed.\n";
        return eOutcome::NoDevice;
    }
    if (devices->empty()) {
        console.err << noDeviceSentence(description) << '\n';
        return eOutcome::NoDevice;
    }
    console.out << deviceTable(*devices);
    return eOutcome::Done;
}

} // namespace Cli
