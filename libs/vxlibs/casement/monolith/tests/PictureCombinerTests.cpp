#include <casement/Picture.h>
#include <casement/PictureCombinerFunctors.h>
#include <casement/PictureDrawing.h>

#include <gtest/gtest.h>

namespace {

using Casement::Pixel::make;
using namespace Casement::PictureCombinerFunctors;

TEST(BlendUsingAlpha, WeighsTheSourceByBothAlphasAndKeepsTheDestinationAlpha)
{
    EXPECT_EQ(BlendUsingAlpha::blend(make(10, 20, 30, 255), make(200, 100, 50, 255)), make(10, 20, 30, 255));
    EXPECT_EQ(BlendUsingAlpha::blend(make(10, 20, 30, 255), make(200, 100, 50, 0)), make(200, 100, 50, 0));
    // w = div255(128 x 255) = 128: 200 x 128 / 255 rounds down to 100, 255 x 127 / 255 to 127.
    EXPECT_EQ(BlendUsingAlpha::blend(make(200, 100, 0, 128), make(0, 100, 255, 255)), make(100, 100, 127, 255));
    EXPECT_EQ(BlendUsingAlpha::blend(make(200, 100, 0, 128), make(0, 100, 255, 77)), make(29, 100, 217, 77));
}

TEST(DyeUsingAlphaMask, PaintsTheDyeThroughTheMaskAlpha)
{
    const DyeUsingAlphaMask red(0xFFFF0000);
    EXPECT_EQ(red.dye(make(9, 9, 9, 255), make(10, 20, 30, 40)), make(0, 0, 255, 40));
    EXPECT_EQ(red.dye(make(9, 9, 9, 0), make(10, 20, 30, 40)), make(10, 20, 30, 40));
    EXPECT_EQ(DyeUsingAlphaMask(0x00FF0000).dye(make(9, 9, 9, 255), make(10, 20, 30, 40)), make(10, 20, 30, 40));
    // w = div255(255 x 128) = 128.
    EXPECT_EQ(DyeUsingAlphaMask(0x80FFFFFF).dye(make(0, 0, 0, 255), make(0, 0, 0, 255)), make(128, 128, 128, 255));
}

TEST(CopySource, StraightAlphaOverIsExact)
{
    for (std::uint32_t alpha = 1; alpha < 256; ++alpha) {
        const std::uint32_t source = make(13, 200, 255, alpha);
        ASSERT_EQ(CopySource::over(source, make(90, 90, 90, 0)), source) << alpha;
    }
    EXPECT_EQ(CopySource::over(make(1, 2, 3, 0), make(90, 90, 90, 0)), 0u);
    EXPECT_EQ(CopySource::over(make(1, 2, 3, 0), make(90, 90, 90, 7)), make(90, 90, 90, 7));
    EXPECT_EQ(CopySource::over(make(1, 2, 3, 255), make(90, 90, 90, 7)), make(1, 2, 3, 255));
    // m = 128 + (255 x 127 + 127) / 255 = 255; blue (255 x 128 + 127) / 255 = 128.
    EXPECT_EQ(CopySource::over(make(255, 0, 0, 128), make(0, 0, 0, 255)), make(128, 0, 0, 255));
    // m = 100 + (60 x 155 + 127) / 255 = 136; blue (250 x 100 + (10 x 60 x 155 + 127) / 255 + 68) / 136 = 187.
    EXPECT_EQ(CopySource::over(make(250, 0, 0, 100), make(10, 0, 0, 60)), make(187, 0, 0, 136));
}

TEST(CopySource, FastBlendReplacesKeepsOrApproximates)
{
    EXPECT_EQ(CopySource::fastBlend(make(1, 2, 3, 255), make(90, 90, 90, 7)), make(1, 2, 3, 255));
    EXPECT_EQ(CopySource::fastBlend(make(1, 2, 3, 0), make(90, 90, 90, 7)), make(90, 90, 90, 7));
    EXPECT_EQ(CopySource::fastBlend(make(255, 0, 0, 128), make(255, 255, 0, 255)), make(254, 126, 0, 128));
}

// Copies one source pixel onto a one-pixel buffer, selecting the CopySource
// branch by the pictures' flags.
std::uint32_t copied(std::uint32_t source, bool sourceHasAlpha, bool sourceFast, bool bufferFast)
{
    Casement::Picture picture;
    picture.allocate(1, 1);
    picture.pixels()[0] = source;
    picture.setHasAlpha(sourceHasAlpha);
    picture.setFastBlend(sourceFast);
    Casement::Picture buffer;
    buffer.allocate(1, 1);
    buffer.pixels()[0] = make(255, 255, 0, 255);
    buffer.setFastBlend(bufferFast);
    Casement::drawPicture(buffer, 0, 0, picture, 0, {0, 0, 1, 1}, Casement::eDrawMode::CopySource);
    return buffer.pixels()[0];
}

TEST(CopySource, PicturesSelectCopyFastBlendOrOver)
{
    const std::uint32_t source = make(255, 0, 0, 128);
    EXPECT_EQ(copied(source, false, false, false), source);
    EXPECT_EQ(copied(source, true, true, false), make(254, 126, 0, 128));
    EXPECT_EQ(copied(source, true, false, true), make(254, 126, 0, 128));
    EXPECT_EQ(copied(source, true, false, false), make(255, 127, 0, 255));
}

} // namespace
