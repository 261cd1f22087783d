#pragma once

#include <sim/SimScenarios.h>

#include <span>
#include <string>
#include <string_view>

namespace Cli {

enum class eCommand { List, Check, Update };

// What the command line asks the program to do.
struct Options {
    eCommand command = eCommand::List;
    // Set: the program runs against the simulated bus, set up as this scenario describes.
    const Conduit2::Sim::Scenario* simulated = nullptr;
    // Not empty: the simulated device is kept in this file between runs.
    std::string simulationState;
    bool json = false;  // check: one JSON object instead of text; update: one a line
    bool yes = false;   // update: no question before the update
};

struct ParsedArguments {
    enum eKind { Run, Help, Version, UsageError };

    eKind kind = UsageError;
    Options options;
    std::string error;  // what is wrong, for UsageError
};

// Parses the arguments that follow the program name. Options may stand
// before or after the command; --help and --version end the parse at once.
// The state file is given as "--simulate-state FILE" or "--simulate-state=FILE".
ParsedArguments parseArguments(std::span<const std::string_view> arguments);

} // namespace Cli
