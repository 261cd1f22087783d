#pragma once

#include <sim/SimScenarios.h>

#include <string>
#include <string_view>
#include <vector>

// The command line of tvs-updater: "--simulate[=SCENARIO]" runs the updater
// against the built-in simulated Trovix Studio (never without being asked),
// "--simulate-state FILE" (or "=FILE") keeps that device in FILE between runs,
// "--help" and "--version" print and end. Anything else is for the first copy
// of the program (the single-instance rule hands it over).
struct UpdaterOptions {
    enum eAction { Run, Help, Version, UsageError };

    eAction action = Run;
    const Conduit2::Sim::Scenario* simulated = nullptr;
    std::string simulationState;
    std::string error;
};

UpdaterOptions parseUpdaterOptions(const std::vector<std::string_view>& arguments);
// The text of --help, made at build time from tvs-updater.txt, which also
// makes the manual page.
std::string updaterUsage();
