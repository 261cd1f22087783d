#pragma once

#include "ManualSource.h"

#include <string>
#include <string_view>

namespace Manual {

// The manual page in section 1, in roff with the man(7) macros. The footer
// names the package and its version.
std::string manualPage(const Page& page, std::string_view footer);

} // namespace Manual
