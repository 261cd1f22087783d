#pragma once

#include <string>
#include <vector>

namespace UsbEmulation {

// Starts the program again, unchanged, under umockdev's preload library,
// unless it runs under it already. Returns only when it does (true) or when
// the new start failed (false).
bool ensurePreload(char** argv);

// Runs a command with the environment of this process and waits for it; its
// exit code, 128 + the signal that ended it, or 127 when it cannot start.
// With `honourFilePermissions`, a command run by root loses the capabilities
// that let it open files whatever their permissions.
int runCommand(const std::vector<std::string>& command, bool honourFilePermissions);

} // namespace UsbEmulation
