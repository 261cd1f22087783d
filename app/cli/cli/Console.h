#pragma once

#include <cstddef>
#include <iosfwd>

namespace Cli {

// Where a command reads answers and writes: results go to `out`; questions,
// warnings, progress and failures to `err`.
struct Console {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
    bool terminal = false;  // `err` is a terminal: progress is redrawn in place
    std::size_t width = 80; // the terminal's columns
    bool json = false;      // results as JSON on `out`: one object, or for update one a line
};

} // namespace Cli
