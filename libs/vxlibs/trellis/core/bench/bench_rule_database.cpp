// Times building the rule database of a style manager from parsed styles
// (StyleManager::applyParsedStyles: a rule for every selector and property,
// composed values included, kept in precedence order) for the generated
// stylesheet of about 22 KB and for one of about 2.3 MB (more panels of the
// same kind, so each property has about a hundred times more rules). Each
// sheet is parsed once; prints the median and the best of N builds of each.
//
//   bench_rule_database [N]      (default 50)
#include "BenchTimes.h"
#include "GeneratedStyleSheet.h"

#include <trellis/ManagerContainer.h>
#include <trellis/StyleManager.h>
#include <trellis/StyleParser2.h>

#include <basalt/ResourceModule.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr std::size_t LargeSize = 2300 * 1024;

// False when the sheet does not parse cleanly.
bool timeBuilds(Trellis::StyleManager& manager, std::size_t size, long runs)
{
    const std::string text = Trellis::Bench::generatedStylesheet(size);
    Trellis::StyleParser2 parser(&manager);
    if (!parser.processString(text) || !parser.errorLog().empty()) {
        std::fprintf(stderr, "the generated stylesheet of %zu bytes did not parse cleanly\n", text.size());
        return false;
    }
    Trellis::Bench::tTimes build;
    for (long i = 0; i < runs; ++i) {
        build.add([&] { manager.applyParsedStyles(parser); });
    }
    std::printf("%zu bytes, %zu styles: ", text.size(), parser.styles().size());
    build.print("applyParsedStyles");
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    const long runs = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 50;
    if (runs <= 0) {
        std::fprintf(stderr, "usage: bench_rule_database [runs]\n");
        return 2;
    }
    Trellis::ManagerContainer resources(Basalt::ResourceModule::program());
    Trellis::StyleManager& manager = *resources.styleSets().front().manager;
    std::printf("%ld runs\n", runs);
    const bool built = timeBuilds(manager, Trellis::Bench::TargetSize, runs) && timeBuilds(manager, LargeSize, runs);
    return built ? 0 : 1;
}
