// Times StyleParser2::processString on the generated stylesheet of about
// 22 KB (GeneratedStyleSheet.h). Prints the median and the best of N parses.
//
//   bench_style_parser [N]      (default 500)
#include "GeneratedStyleSheet.h"

#include <trellis/StyleParser2.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    const long runs = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 500;
    if (runs <= 0) {
        std::fprintf(stderr, "usage: bench_style_parser [runs]\n");
        return 2;
    }
    const std::string text = Trellis::Bench::generatedStylesheet();
    std::vector<double> times;
    std::size_t styles = 0;
    for (long i = 0; i < runs; ++i) {
        Trellis::StyleParser2 parser;
        const auto start = std::chrono::steady_clock::now();
        const bool parsed = parser.processString(text);
        const auto end = std::chrono::steady_clock::now();
        if (!parsed || !parser.errorLog().empty()) {
            std::fprintf(stderr, "the generated stylesheet did not parse cleanly\n");
            return 1;
        }
        styles = parser.styles().size();
        times.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    std::sort(times.begin(), times.end());
    std::printf("processString, %zu bytes, %zu styles: median %.1f us, best %.1f us (%ld runs)\n", text.size(), styles,
                times[times.size() / 2], times.front(), runs);
    return 0;
}
