// Compares a window read back with `xwd` with the reference picture of its
// name, with the tolerance of the toolkit's pixel tests (8 per channel in 200
// pixels, for glyph edges). On a mismatch the window's picture and a
// difference picture are written next to the build, and the message names
// them; TVS_UPDATE_REFERENCES=1 replaces a reference that does not match.
//   check_window_picture NAME WINDOW.xwd
#include "PixelComparison.h"
#include "XwdImage.h"

#include <cstdio>

namespace {

Casement::Picture opaquePicture(const tXwdImage& image)
{
    Casement::Picture picture;
    picture.allocate(image.width, image.height);
    for (std::int32_t y = 0; y < image.height; ++y) {
        for (std::int32_t x = 0; x < image.width; ++x) {
            picture.row(y)[x] = 0xFF000000 | image.at(x, y);
        }
    }
    return picture;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: check_window_picture NAME WINDOW.xwd\n");
        return 2;
    }
    const auto image = readXwdFile(argv[2]);
    if (!image) {
        std::fprintf(stderr, "%s is not a window dump of a 24-bit screen\n", argv[2]);
        return 2;
    }
    const auto result = Trellis::Testing::matchesReference(opaquePicture(*image), argv[1], {8, 200});
    if (!result) {
        std::fprintf(stderr, "%s\n", result.message());
        return 1;
    }
    return 0;
}
