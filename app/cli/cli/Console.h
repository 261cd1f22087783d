#pragma once

#include <iosfwd>

namespace Cli {

// Where a command reads answers and writes its output.
struct Console {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
    bool terminal = false;  // standard output is a terminal: progress is redrawn in place
};

} // namespace Cli
