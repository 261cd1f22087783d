#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// The address a web-page command opens: `configured` when the build was
// given one; otherwise the README installed with the program, found from the
// program's directory so that an installed tree (or a copy of one) works
// wherever it lies, and else where an installed program keeps it.
std::string documentationUrl(std::string_view configured, const std::filesystem::path& programDirectory);
