// tvs-stylecheck FILE...: parses each stylesheet as the engine does (imports
// relative to the file), prints every warning the engine reports, then one
// summary line per file and a total when there are several. Exits 1 when an
// error was reported or a file could not be read, else 0.
#include <trellis/StyleParser2.h>
#include <trellis/Warnings.h>

#include <cstddef>
#include <cstdio>
#include <string>

namespace {

struct tCounts {
    std::size_t styles = 0;
    std::size_t rules = 0;
    std::size_t errors = 0;
};

tCounts countsOf(const Trellis::StyleParser2& parser)
{
    tCounts counts;
    counts.styles = parser.styles().size();
    for (const auto& style : parser.styles()) {
        counts.rules += style.selectors.size() * style.properties.size();
    }
    for (const auto& [path, errors] : parser.errorLog()) {
        counts.errors += errors.size();
    }
    return counts;
}

void printCounts(const std::string& label, const tCounts& counts)
{
    std::printf("%s: %zu styles, %zu rules, %zu errors\n", label.c_str(), counts.styles, counts.rules, counts.errors);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: tvs-stylecheck FILE...\n");
        return 2;
    }
    Trellis::addWarningListener([](const std::string& text) { std::printf("%s\n", text.c_str()); });
    tCounts total;
    bool failed = false;
    for (int index = 1; index < argc; ++index) {
        const std::string path = argv[index];
        Trellis::StyleParser2 parser;
        const bool parsed = parser.processFile(path);
        const tCounts counts = countsOf(parser);
        if (!parsed && counts.errors == 0) {
            std::printf("%s: cannot be read\n", path.c_str());
        } else {
            printCounts(path, counts);
        }
        failed = failed || !parsed || counts.errors != 0;
        total.styles += counts.styles;
        total.rules += counts.rules;
        total.errors += counts.errors;
    }
    if (argc > 2) {
        printCounts("total", total);
    }
    return failed ? 1 : 0;
}
