#include <casement/Picture.h>
#include <casement/PictureDrawing.h>
#include <casement/PixelArithmetic.h>

#include <gtest/gtest.h>

#include <climits>
#include <functional>

namespace {

using Casement::Picture;
using Casement::Rect;
using Casement::eDrawMode;
using Casement::Pixel::make;

constexpr std::uint32_t Untouched = 0xDEADBEEF;
const Rect Everything{INT32_MIN / 2, INT32_MIN / 2, INT32_MAX, INT32_MAX};

// An opaque picture whose pixel at (x, y) is make(x, y, 0, 255).
Picture coordinatePicture(std::int32_t width, std::int32_t height)
{
    Picture picture;
    picture.allocate(width, height);
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            picture.row(y)[x] = make(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y), 0, 255);
        }
    }
    return picture;
}

Picture buffer(std::int32_t width, std::int32_t height)
{
    Picture target;
    target.allocate(width, height);
    std::fill_n(target.pixels(), static_cast<std::size_t>(width) * height, Untouched);
    return target;
}

// Checks every pixel of the target against `expected` (Untouched for none).
void expectPixels(const Picture& target, const std::function<std::uint32_t(std::int32_t, std::int32_t)>& expected)
{
    for (std::int32_t y = 0; y < target.height(); ++y) {
        for (std::int32_t x = 0; x < target.width(); ++x) {
            ASSERT_EQ(target.row(y)[x], expected(x, y)) << "at " << x << ", " << y;
        }
    }
}

TEST(DrawPicture, BusyWheelFramePastTheLastDrawsTheLast)
{
    Picture wheel;
    wheel.allocate(22, 264);
    wheel.setFrameCount(12);
    for (std::int32_t y = 0; y < 264; ++y) {
        std::fill_n(wheel.row(y), 22, make(static_cast<std::uint32_t>(y / 22), 0, 0, 255));
    }
    Picture target = buffer(30, 30);
    Casement::drawPicture(target, 4, 5, wheel, 12, Everything, eDrawMode::CopySource);
    expectPixels(target, [](std::int32_t x, std::int32_t y) {
        return x >= 4 && x < 26 && y >= 5 && y < 27 ? make(11, 0, 0, 255) : Untouched;
    });
}

TEST(DrawPicture, ClipsToClipVisibleRectangleAndBufferWithTheOriginApplied)
{
    const Picture picture = coordinatePicture(20, 20);
    Picture target = buffer(12, 12);
    target.setOrigin({-5, 2});
    target.setVisibleRect({0, 0, 12, 9});
    // Drawing (0, 0) is buffer (-5, 2). The clip (drawing 6.. and -10..) ends
    // the left side at buffer column 1, the buffer the right side, the
    // visible rectangle the bottom at row 9.
    Casement::drawPicture(target, 0, 0, picture, 0, {6, -10, 100, 100}, eDrawMode::CopySource);
    expectPixels(target, [](std::int32_t x, std::int32_t y) {
        return x >= 1 && y >= 2 && y < 9 ? make(x + 5, y - 2, 0, 255) : Untouched;
    });

    Picture untouched = buffer(12, 12);
    Casement::drawPicture(untouched, 0, 0, picture, 0, {0, 0, 0, 0}, eDrawMode::CopySource);
    for (const auto& [x, y] : {std::pair{INT32_MAX, 0}, {INT32_MIN, 0}, {0, INT32_MAX}, {0, INT32_MIN}, {12, 0},
                               {-20, 0}, {0, 12}, {0, -20}}) {
        untouched.setOrigin({});
        Casement::drawPicture(untouched, x, y, picture, 0, Everything, eDrawMode::CopySource);
        untouched.setOrigin({INT32_MAX, INT32_MIN});
        Casement::drawPicture(untouched, x, y, picture, 0, Everything, eDrawMode::BlendUsingAlpha);
    }
    expectPixels(untouched, [](std::int32_t, std::int32_t) { return Untouched; });
}

// Where a stretched axis takes its source pixel: the borders keep theirs,
// the middle repeats the source's middle.
std::int32_t stretchedSource(std::int32_t at, std::int32_t length, std::int32_t source, std::int32_t border)
{
    if (at < border) {
        return at;
    }
    if (at >= length - border) {
        return source - (length - at);
    }
    return border + (at - border) % (source - 2 * border);
}

Picture stretchablePanel()
{
    Picture panel = coordinatePicture(100, 100);
    panel.setVerticallyStretchable(true);
    panel.setHorizontallyStretchable(true);
    for (const auto set : {&Picture::setTopBorder, &Picture::setBottomBorder, &Picture::setLeftBorder,
                           &Picture::setRightBorder}) {
        (panel.*set)(5);
    }
    return panel;
}

TEST(DrawStretchedPicture, KeepsCornersAndTilesEdgesAndCentre)
{
    Picture target = buffer(609, 270);
    Casement::drawStretchedPicture(target, {0, 0, 609, 270}, stretchablePanel(), 0, Everything, eDrawMode::CopySource);
    expectPixels(target, [](std::int32_t x, std::int32_t y) {
        return make(stretchedSource(x, 609, 100, 5), stretchedSource(y, 270, 100, 5), 0, 255);
    });
}

TEST(DrawStretchedPicture, PartMasksHideParts)
{
    Picture panel = stretchablePanel();
    panel.setPartMasks({16 | 1 | 256});
    // A frame index past the last is the last frame, with that frame's mask.
    for (const std::uint32_t frame : {0u, 5u}) {
        Picture target = buffer(30, 30);
        Casement::drawStretchedPicture(target, {0, 0, 30, 30}, panel, frame, Everything, eDrawMode::CopySource);
        expectPixels(target, [](std::int32_t x, std::int32_t y) {
            const bool centre = x >= 5 && x < 25 && y >= 5 && y < 25;
            const bool hiddenCorner = (x < 5 && y < 5) || (x >= 25 && y >= 25);
            const std::uint32_t drawn = make(stretchedSource(x, 30, 100, 5), stretchedSource(y, 30, 100, 5), 0, 255);
            return centre || hiddenCorner ? Untouched : drawn;
        });
    }
}

TEST(DrawStretchedPicture, EmptyCentreDrawsNothingAndPlainPicturesKeepTheirSize)
{
    Picture panel = stretchablePanel();
    panel.setLeftBorder(95);
    Picture target = buffer(120, 120);
    Casement::drawStretchedPicture(target, {0, 0, 120, 120}, panel, 0, Everything, eDrawMode::CopySource);
    expectPixels(target, [](std::int32_t, std::int32_t) { return Untouched; });

    const Picture plain = coordinatePicture(10, 10);
    Casement::drawStretchedPicture(target, {3, 4, 100, 100}, plain, 0, Everything, eDrawMode::CopySource);
    expectPixels(target, [](std::int32_t x, std::int32_t y) {
        return x >= 3 && x < 13 && y >= 4 && y < 14 ? make(x - 3, y - 4, 0, 255) : Untouched;
    });
}

TEST(DrawDyedPicture, PaintsTheDyeThroughTheStretchedMask)
{
    Picture mask = stretchablePanel();
    Picture target = buffer(20, 20);
    Casement::drawDyedPicture(target, {0, 0, 20, 20}, mask, 0, 0x00FFFFFF, Everything);
    expectPixels(target, [](std::int32_t, std::int32_t) { return Untouched; });
    Casement::drawDyedPicture(target, {2, 2, 16, 16}, mask, 0, 0xFF102030, {0, 0, 10, 20});
    expectPixels(target, [](std::int32_t x, std::int32_t y) {
        return x >= 2 && x < 10 && y >= 2 && y < 18 ? make(0x30, 0x20, 0x10, 0xDE) : Untouched;
    });
}

} // namespace
