#pragma once

#include <string>
#include <string_view>

namespace Cli {

constexpr std::string_view ProgramName = "tvs-updater-cli";

// The help text: commands, options, scenarios and exit codes (made at build
// time from tvs-updater-cli.txt, which also makes the manual page).
std::string usageText();
// "tvs-updater-cli " and the program's version text.
std::string versionText();
// A usage error as written to standard error, with a pointer to --help.
std::string usageErrorText(std::string_view error);

} // namespace Cli
