// Times measuring and drawing one 40-character line with a 12-pixel font:
// width() and drawText() once the line's glyphs are cached, and the first
// width() of a new font, which creates its face and renders every glyph.
// Prints the median of N runs of each.
//
//   bench_fonts [N] [font.ttf]      (default 20000, DejaVu Sans)
#include <casement/Font.h>
#include <casement/Picture.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string_view>
#include <utility>
#include <vector>

namespace {

constexpr std::string_view Line = "Installed firmware 33 / 0x67 is current.";
static_assert(Line.size() == 40);

double median(std::vector<double> values)
{
    std::ranges::sort(values);
    return values[values.size() / 2];
}

template <typename Work>
double medianMicroseconds(long runs, Work work)
{
    std::vector<double> times;
    times.reserve(static_cast<std::size_t>(runs));
    for (long i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const auto end = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    return median(std::move(times));
}

} // namespace

int main(int argc, char** argv)
{
    const long runs = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 20000;
    const char* const path = argc > 2 ? argv[2] : DEFAULT_FONT_FILE;
    std::ifstream file(path, std::ios::binary);
    const auto bytes = std::make_shared<const std::vector<std::uint8_t>>(std::istreambuf_iterator<char>(file),
                                                                         std::istreambuf_iterator<char>());
    const auto font = Casement::Font::create(bytes, 12, true);
    if (runs <= 0 || !font) {
        std::fprintf(stderr, "usage: bench_fonts [runs] [font.ttf]  (%s is not a font)\n", path);
        return 2;
    }
    Casement::Picture buffer;
    buffer.allocate(609, 38);
    std::int32_t width = font->width(Line.data(), Line.size());
    const double measure = medianMicroseconds(runs, [&] { width = font->width(Line.data(), Line.size()); });
    const double draw = medianMicroseconds(runs, [&] {
        font->drawText(buffer, {0, 0, 609, 38}, Line, 0xFF202020, Casement::Font::Centre, 0);
    });
    const double first = medianMicroseconds(std::max(runs / 100, 1L), [&] {
        Casement::Font::create(bytes, 12, true)->width(Line.data(), Line.size());
    });
    std::printf("line: %zu characters, %d pixels wide at 12 px\n", Line.size(), width);
    std::printf("width(), glyphs cached:       median %.3f us\n", measure);
    std::printf("drawText(), glyphs cached:    median %.3f us\n", draw);
    std::printf("new font and first width():   median %.1f us\n", first);
    return 0;
}
