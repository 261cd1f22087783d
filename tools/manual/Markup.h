#pragma once

#include <string>
#include <string_view>

// The inline markup of a manual source (see ManualSource.h), rendered for
// --help and for roff.
namespace Manual {

// The text as --help prints it: without the backquotes around literals.
std::string plainText(std::string_view text);

// Running text for roff: literals in bold with their placeholders in italic,
// references to manual pages such as tvs-updater(1) in bold.
std::string roffText(std::string_view text);

// Text typed as it stands, such as a program's name, without a change of
// font.
std::string roffEscaped(std::string_view text);

// A term or a line of the synopsis for roff: all of it literal, except
// placeholders (italic) and the brackets, bars, commas and ellipses that
// describe the command line (roman).
std::string roffLiteral(std::string_view text);

// A term that names environment variables, such as "DISPLAY, WAYLAND_DISPLAY"
// or "TVS_UPDATER_TRACE=FILE": as roffLiteral, but the names before any '='
// are never placeholders.
std::string roffVariables(std::string_view text);

} // namespace Manual
