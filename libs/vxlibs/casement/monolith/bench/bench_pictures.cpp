// Times the picture combiners over a whole 1218 x 540 buffer (the updater's
// window at scale 2) and the drawing of a 609 x 270 panel stretched from a
// 100 x 100 picture with borders 5. Each figure is the best of N runs; the
// buffer is restored before each run, outside the timing.
//
//   bench_pictures [N]      (default 200)
#include <casement/Picture.h>
#include <casement/PictureDrawing.h>
#include <casement/PixelArithmetic.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

using Casement::Picture;
using Casement::Pixel::make;

constexpr std::int32_t Width = 1218;
constexpr std::int32_t Height = 540;

// Every alpha value in turn, so that the general arithmetic dominates.
Picture mixedPicture(std::int32_t width, std::int32_t height, bool hasAlpha)
{
    Picture picture;
    picture.allocate(width, height);
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            const auto value = static_cast<std::uint32_t>(x * 7 + y * 3);
            picture.row(y)[x] = make(value & 0xFF, (value >> 1) & 0xFF, (value >> 2) & 0xFF, (x + y) & 0xFF);
        }
    }
    picture.setHasAlpha(hasAlpha);
    return picture;
}

// The best time of `runs` runs of `draw` in microseconds, `buffer` restored
// from `original` before each.
double bestMicroseconds(long runs, Picture& buffer, const Picture& original, const std::function<void()>& draw)
{
    double best = 1e300;
    for (long i = 0; i < runs; ++i) {
        std::copy_n(original.pixels(), static_cast<std::size_t>(original.width()) * original.height(), buffer.pixels());
        const auto start = std::chrono::steady_clock::now();
        draw();
        const auto end = std::chrono::steady_clock::now();
        best = std::min(best, std::chrono::duration<double, std::micro>(end - start).count());
    }
    return best;
}

void reportThroughput(const char* name, double microseconds)
{
    std::printf("%-34s %8.1f us  %7.1f Mpixel/s\n", name, microseconds, Width * Height / microseconds);
}

Picture stretchablePanel()
{
    Picture panel = mixedPicture(100, 100, true);
    panel.setVerticallyStretchable(true);
    panel.setHorizontallyStretchable(true);
    panel.setTopBorder(5);
    panel.setBottomBorder(5);
    panel.setLeftBorder(5);
    panel.setRightBorder(5);
    return panel;
}

} // namespace

int main(int argc, char** argv)
{
    const long runs = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 200;
    if (runs <= 0) {
        std::fprintf(stderr, "usage: bench_pictures [runs]\n");
        return 2;
    }
    using Casement::eDrawMode;
    const Casement::Rect all{0, 0, Width, Height};
    const Picture original = mixedPicture(Width, Height, true);
    Picture buffer = original;
    Picture opaque = mixedPicture(Width, Height, false);
    Picture translucent = mixedPicture(Width, Height, true);
    std::printf("runs: %ld, buffer %d x %d, best run\n", runs, Width, Height);
    reportThroughput("CopySource, no alpha (copy)", bestMicroseconds(runs, buffer, original, [&] {
        Casement::drawPicture(buffer, 0, 0, opaque, 0, all, eDrawMode::CopySource);
    }));
    reportThroughput("CopySource, alpha (over)", bestMicroseconds(runs, buffer, original, [&] {
        Casement::drawPicture(buffer, 0, 0, translucent, 0, all, eDrawMode::CopySource);
    }));
    translucent.setFastBlend(true);
    reportThroughput("CopySource, alpha, fast blend", bestMicroseconds(runs, buffer, original, [&] {
        Casement::drawPicture(buffer, 0, 0, translucent, 0, all, eDrawMode::CopySource);
    }));
    translucent.setFastBlend(false);
    reportThroughput("BlendUsingAlpha", bestMicroseconds(runs, buffer, original, [&] {
        Casement::drawPicture(buffer, 0, 0, translucent, 0, all, eDrawMode::BlendUsingAlpha);
    }));
    reportThroughput("DyeUsingAlphaMask", bestMicroseconds(runs, buffer, original, [&] {
        Casement::drawDyedPicture(buffer, all, translucent, 0, 0xC0336699, all);
    }));

    const Picture panel = stretchablePanel();
    const Casement::Rect panelRect{0, 0, 609, 270};
    for (const auto& [name, mode] : {std::pair{"CopySource", eDrawMode::CopySource},
                                      std::pair{"BlendUsingAlpha", eDrawMode::BlendUsingAlpha}}) {
        const double microseconds = bestMicroseconds(runs, buffer, original, [&, mode = mode] {
            Casement::drawStretchedPicture(buffer, panelRect, panel, 0, panelRect, mode);
        });
        std::printf("stretched panel 609 x 270, %-15s %8.1f us\n", name, microseconds);
    }
    return 0;
}
