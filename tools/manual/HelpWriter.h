#pragma once

#include "ManualSource.h"

#include <string>

namespace Manual {

// The text --help prints: the synopsis as "Usage:", then the sections
// marked for it, each item's term beside its description, lines wrapped at
// 79 columns.
std::string helpText(const Page& page);

} // namespace Manual
