// tvs-stylecheck FILE...: parses each stylesheet as the engine does (imports
// relative to the file), prints every warning the engine reports, then one
// summary line per file and a total when there are several. Exits 1 when an
// error was reported or a file could not be read, else 0; 2 for a wrong
// option or no file, with the help text. The help text is made at build time
// from tvs-stylecheck.txt, which also makes the manual page.
#include "StyleCheckHelpText.h"

#include <trellis/StyleParser2.h>
#include <trellis/Warnings.h>

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct tCounts {
    std::size_t styles = 0;
    std::size_t rules = 0;
    std::size_t errors = 0;
};

struct tRequest {
    enum eKind { Check, Help, Version, UsageError };

    eKind kind = Check;
    std::vector<std::string> files;
    std::string error;
};

tRequest parseArguments(int argc, char** argv)
{
    tRequest request;
    for (int index = 1; index < argc; ++index) {
        const std::string_view argument = argv[index];
        if (argument == "--help" || argument == "-h") {
            return {tRequest::Help, {}, {}};
        }
        if (argument == "--version") {
            return {tRequest::Version, {}, {}};
        }
        if (argument.starts_with('-')) {
            return {tRequest::UsageError, {}, "unknown option '" + std::string(argument) + "'"};
        }
        request.files.emplace_back(argument);
    }
    if (request.files.empty()) {
        return {tRequest::UsageError, {}, "no file given"};
    }
    return request;
}

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

int checkFiles(const std::vector<std::string>& files)
{
    Trellis::addWarningListener([](const std::string& text) { std::printf("%s\n", text.c_str()); });
    tCounts total;
    bool failed = false;
    for (const std::string& path : files) {
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
    if (files.size() > 1) {
        printCounts("total", total);
    }
    return failed ? 1 : 0;
}

} // namespace

int main(int argc, char** argv)
{
    const tRequest request = parseArguments(argc, argv);
    switch (request.kind) {
    case tRequest::Help:
        std::fwrite(HelpText.data(), 1, HelpText.size(), stdout);
        return 0;
    case tRequest::Version:
        std::printf("tvs-stylecheck %s\n", TVS_STYLECHECK_FILE_VERSION);
        return 0;
    case tRequest::UsageError:
        std::fprintf(stderr, "tvs-stylecheck: %s\n\n", request.error.c_str());
        std::fwrite(HelpText.data(), 1, HelpText.size(), stderr);
        return 2;
    case tRequest::Check:
        break;
    }
    return checkFiles(request.files);
}
