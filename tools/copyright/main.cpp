// tvs-copyright SOURCE_DIR OUTPUT: writes the copyright file of the installed
// TVS Updater: the projects of the credits table (the libraries the programs
// link and the fonts they carry, which the about overlay credits too), each
// followed by its copyright and licence as its Debian package or its source
// states them. Exits 1 when a licence file cannot be read, so that a package
// is never built with a credit left out.
#include "logic/Credits.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace {

constexpr std::string_view Introduction =
    "TVS Updater\n"
    "===========\n"
    "\n"
    "The programs tvs-updater, tvs-updater-cli and tvs-stylecheck are linked\n"
    "with the libraries below and carry the fonts below compiled in; the about\n"
    "overlay of the window credits the same projects. The copyright and licence\n"
    "of each follow, as its Debian package or its source states them.\n"
    "\n"
    "The TVS Updater's own files state no licence.\n";

std::string heading(const Credit& credit)
{
    const std::string what = credit.origin == CreditOrigin::DebianPackage
                                 ? "linked library, from the Debian package " + std::string(credit.source)
                                 : "font compiled into the programs, " + std::string(credit.source);
    const std::string title = std::string(credit.name) + ": " + what;
    return "\n\n" + title + "\n" + std::string(title.size(), '-') + "\n\n";
}

// A licence file of the source tree may end with the full text of a licence
// that Debian ships in /usr/share/common-licenses, after a line
//   ----- <name> (/usr/share/common-licenses/<file>) -----
// An installed system has that text, so the copyright file refers to it.
std::string withCommonLicenceReferred(const std::string& text)
{
    constexpr std::string_view Marker = "(/usr/share/common-licenses/";
    const std::size_t marker = text.find(Marker);
    const std::size_t lineStart = marker == std::string::npos ? marker : text.rfind('\n', marker);
    if (lineStart == std::string::npos || text.compare(lineStart + 1, 6, "----- ") != 0) {
        return text;
    }
    const std::size_t close = text.find(')', marker);
    const std::string path = text.substr(marker + 1, close - marker - 1);
    return text.substr(0, lineStart + 1) + "The full text of the licence is in " + path + ".\n";
}

bool readFile(const std::filesystem::path& path, std::string& text)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream contents;
    contents << file.rdbuf();
    text = contents.str();
    return file.good() && !text.empty();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: tvs-copyright SOURCE_DIR OUTPUT\n";
        return 2;
    }
    const std::filesystem::path sourceDir = argv[1];
    std::string document(Introduction);
    for (const Credit& credit : credits) {
        const std::filesystem::path licence(credit.licenceFile);
        std::string text;
        if (!readFile(licence.is_absolute() ? licence : sourceDir / licence, text)) {
            std::cerr << "tvs-copyright: cannot read the licence of " << credit.name << ": " << licence << '\n';
            return 1;
        }
        document += heading(credit) + withCommonLicenceReferred(text);
    }
    std::ofstream output(argv[2], std::ios::binary | std::ios::trunc);
    output << document;
    if (!output.flush()) {
        std::cerr << "tvs-copyright: cannot write " << argv[2] << '\n';
        return 1;
    }
    return 0;
}
