#pragma once

#include <cstddef>
#include <cstdio>
#include <set>
#include <string>

// Prints the toolkit's warnings (what is wrong with a skin: stylesheet errors
// with their file and line, pictures and imports that cannot be read) to a
// file, each distinct text once, as "tvs-updater: " and the text the
// stylesheet checker prints. A skin designer sees them on standard error.
class WarningPrinter {
public:
    // Listens from now until it is destroyed.
    explicit WarningPrinter(std::FILE* file);
    ~WarningPrinter();
    WarningPrinter(const WarningPrinter&) = delete;
    WarningPrinter& operator=(const WarningPrinter&) = delete;

private:
    void print(const std::string& text);

    std::FILE* file_;
    std::set<std::string> printed_;
    std::size_t listener_;
};

// Prints the warnings to standard error for the rest of the process; a second
// call adds nothing.
void printWarningsOnStandardError();
