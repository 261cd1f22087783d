#pragma once

#include <cstdint>

namespace Casement {

// The interface version word this build of Casement accepts first.
constexpr std::uint32_t InterfaceVersion = 0x04010000;

// Asserts that the caller was built for this Casement (the rule of
// Basalt::interfaceVersionMatches).
void checkInterfaceVersion(std::uint32_t first, std::uint32_t second);

// Initialises the framework for an application: checks the version words
// (Basalt's and its own), starts SDL's video and event subsystems,
// registers the window classes, opens the cross-thread event target and lets
// device-change notifications wake the message loop. Returns false, with
// everything undone, when a step fails (a failed version check in throwing
// mode included), and when no display server can be reached.
bool initCasement(std::uint32_t first, std::uint32_t second);

// Undoes initCasement in reverse order, and ends the single-instance marker;
// does nothing when the framework is not initialised.
void shutdownCasement();

bool isCasementInitialized();

} // namespace Casement
