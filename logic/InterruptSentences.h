#pragma once

#include "logic/UpdatePhase.h"
#include "logic/UpdaterDescription.h"

#include <cstdint>
#include <string>

// What the programs say when a signal from outside (SIGINT, SIGTERM, SIGHUP,
// SIGPIPE) arrives during an update: the first one does not end the update.

// "SIGTERM", or "signal 12" for one without a name here.
std::string signalName(int signal);

// The first interruption in `phase`: what ending the program now would leave
// the device in, and how to end it anyway.
std::string interruptWarning(const UpdaterDescription& description, eUpdatePhase phase, int signal);

// The second, which ends the program: the signal, the phase (`written` of
// `total` image bytes tells manifesting from writing) and the device's state
// with the command that finishes the job.
std::string interruptedSentence(const UpdaterDescription& description, eUpdatePhase phase, std::uint32_t written,
                                std::uint32_t total, int signal);
