#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

// The open-source projects the updater is linked with or carries, in the
// order the credits name them. This table is the one list: the credit lines
// are built from it, and packaging installs each licence file beside the
// program.
enum class CreditOrigin {
    DebianPackage, // a library linked into the program; source is the package scripts/setup installs
    FontResource,  // a font compiled into the program; source is its file in the source tree
};

struct Credit {
    std::string_view name;   // as the credits show it
    CreditOrigin origin;
    std::string_view source; // the Debian package, or the font's path from the source tree root
    // The licence text to install with the program: a path from the source
    // tree root, or the absolute path of the Debian package's copyright file.
    std::string_view licenceFile;
};

inline constexpr std::array credits{
    Credit{"SDL", CreditOrigin::DebianPackage, "libsdl2-dev", "/usr/share/doc/libsdl2-dev/copyright"},
    Credit{"libusb", CreditOrigin::DebianPackage, "libusb-1.0-0-dev", "/usr/share/doc/libusb-1.0-0-dev/copyright"},
    // libboost-dev and the component packages (thread, chrono, locale) are
    // only dependency packages whose copyright files do not hold Boost's
    // licence; libboost1.74-dev, which they pull in, does.
    Credit{"Boost", CreditOrigin::DebianPackage, "libboost-dev", "/usr/share/doc/libboost1.74-dev/copyright"},
    Credit{"{fmt}", CreditOrigin::DebianPackage, "libfmt-dev", "/usr/share/doc/libfmt-dev/copyright"},
    Credit{"FreeType", CreditOrigin::DebianPackage, "libfreetype-dev", "/usr/share/doc/libfreetype-dev/copyright"},
    Credit{"libpng", CreditOrigin::DebianPackage, "libpng-dev", "/usr/share/doc/libpng-dev/copyright"},
    // Linked through libpng.
    Credit{"zlib", CreditOrigin::DebianPackage, "zlib1g-dev", "/usr/share/doc/zlib1g-dev/copyright"},
    // The window's X error handlers call Xlib itself, besides SDL.
    Credit{"libX11", CreditOrigin::DebianPackage, "libx11-dev", "/usr/share/doc/libx11-dev/copyright"},
    // Debian builds libjpeg-dev from libjpeg-turbo.
    Credit{"libjpeg-turbo", CreditOrigin::DebianPackage, "libjpeg-dev", "/usr/share/doc/libjpeg-dev/copyright"},
    // The UI font, Open Sans under the file name the stylesheet uses.
    Credit{"Open Sans", CreditOrigin::FontResource, "resources/fonts/corvel.ttf",
           "resources/fonts/LICENSE-OpenSans.txt"},
    // The default font, DejaVu Sans.
    Credit{"DejaVu Fonts", CreditOrigin::FontResource, "resources/fonts/DejaVuSans.ttf",
           "resources/fonts/LICENSE-DejaVuSans.txt"},
};

// How many names each of the five credit lines holds; the last line stays
// empty.
inline constexpr std::array<std::size_t, 5> creditLineCapacity{5, 5, 4, 3, 0};
static_assert(credits.size() <= 5 + 5 + 4 + 3, "the credit lines hold 17 names");

// The names of `list` in order, filling each line to its capacity before the
// next, separated by ", "; a line ends with "," when names follow on the next.
// Names past the lines' capacity are left out; the static_assert above
// keeps the program's own table within it.
std::array<std::string, 5> creditLines(std::span<const Credit> list = credits);
