#include "WarningPrinter.h"

#include <trellis/Warnings.h>

WarningPrinter::WarningPrinter(std::FILE* file)
    : file_(file), listener_(Trellis::addWarningListener([this](const std::string& text) { print(text); }))
{
}

WarningPrinter::~WarningPrinter()
{
    Trellis::removeWarningListener(listener_);
}

void WarningPrinter::print(const std::string& text)
{
    if (printed_.insert(text).second) {
        std::fprintf(file_, "tvs-updater: %s\n", text.c_str());
        std::fflush(file_);
    }
}

void printWarningsOnStandardError()
{
    static WarningPrinter printer(stderr);
}
