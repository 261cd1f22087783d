#include "PictureEncoders.h"

#include <casement/Picture.h>
#include <casement/PixelArithmetic.h>

#include <gtest/gtest.h>

#include <png.h>

#include <cstdlib>

namespace {

using namespace CasementTests;
using Casement::Picture;
using Casement::Pixel::make;

std::uint32_t gray(std::uint32_t value, std::uint32_t alpha = 0xFF)
{
    return make(value, value, value, alpha);
}

std::vector<std::uint32_t> pixelsOf(const Picture& picture)
{
    return {picture.pixels(), picture.pixels() + static_cast<std::size_t>(picture.width()) * picture.height()};
}

Picture loaded(const Bytes& bytes, bool alphaCheck)
{
    Picture picture;
    ByteStream input(bytes);
    EXPECT_TRUE(picture.load(input.stream(), alphaCheck));
    return picture;
}

tPngContent oneRowPng(std::uint32_t width, int colourType, int bitDepth, Bytes row)
{
    return {width, 1, colourType, bitDepth, {std::move(row)}, {}, {}, 0xFFFF, false};
}

TEST(PngLoad, PaletteImagesExpandTheirColoursAndTransparency)
{
    tPngContent png = oneRowPng(3, PNG_COLOR_TYPE_PALETTE, 2, {0x18});
    png.palette = {255, 0, 0, 0, 128, 255, 10, 20, 30};
    const Picture opaque = loaded(encodePng(png), true);
    EXPECT_EQ(pixelsOf(opaque), (std::vector{make(0, 0, 255, 255), make(255, 128, 0, 255), make(30, 20, 10, 255)}));
    EXPECT_FALSE(opaque.hasAlpha());
    EXPECT_TRUE(loaded(encodePng(png), false).hasAlpha());

    png.transparency = {0xFF, 0x80};
    const Picture translucent = loaded(encodePng(png), true);
    EXPECT_EQ(translucent.pixels()[1], make(255, 128, 0, 0x80));
    EXPECT_EQ(translucent.pixels()[2], make(30, 20, 10, 255));
    EXPECT_TRUE(translucent.hasAlpha());
}

TEST(PngLoad, GrayOfEveryDepthBecomesOpaqueRgbWithoutAlpha)
{
    const auto grayRow = [](std::uint32_t width, int depth, Bytes row) {
        return pixelsOf(loaded(encodePng(oneRowPng(width, PNG_COLOR_TYPE_GRAY, depth, std::move(row))), false));
    };
    EXPECT_EQ(grayRow(3, 1, {0b10100000}), (std::vector{gray(255), gray(0), gray(255)}));
    EXPECT_EQ(grayRow(4, 2, {0b00011011}), (std::vector{gray(0), gray(0x55), gray(0xAA), gray(0xFF)}));
    EXPECT_EQ(grayRow(2, 4, {0x3C}), (std::vector{gray(0x33), gray(0xCC)}));
    EXPECT_EQ(grayRow(2, 16, {0x12, 0xFF, 0xAB, 0x00}), (std::vector{gray(0x12), gray(0xAB)}));

    // A gray picture never has alpha, even with a transparent gray level.
    tPngContent keyed = oneRowPng(2, PNG_COLOR_TYPE_GRAY, 8, {0x40, 0x41});
    keyed.transparentGray = 0x40;
    const Picture picture = loaded(encodePng(keyed), true);
    EXPECT_EQ(pixelsOf(picture), (std::vector{gray(0x40, 0), gray(0x41)}));
    EXPECT_FALSE(picture.hasAlpha());
}

TEST(PngLoad, AlphaCheckMarksAlphaOnlyWhenAPixelIsTranslucent)
{
    const Bytes translucent = encodePng(oneRowPng(2, PNG_COLOR_TYPE_GRAY_ALPHA, 8, {0x40, 0xFF, 0x80, 0x10}));
    EXPECT_EQ(pixelsOf(loaded(translucent, true)), (std::vector{gray(0x40), gray(0x80, 0x10)}));
    EXPECT_TRUE(loaded(translucent, true).hasAlpha());

    const Bytes opaque = encodePng(oneRowPng(2, PNG_COLOR_TYPE_GRAY_ALPHA, 8, {0x40, 0xFF, 0x80, 0xFF}));
    EXPECT_FALSE(loaded(opaque, true).hasAlpha());
    EXPECT_TRUE(loaded(opaque, false).hasAlpha());

    const Bytes rgb = encodePng(oneRowPng(2, PNG_COLOR_TYPE_RGB, 8, {1, 2, 3, 250, 251, 252}));
    EXPECT_EQ(pixelsOf(loaded(rgb, false)), (std::vector{make(3, 2, 1, 255), make(252, 251, 250, 255)}));
    EXPECT_FALSE(loaded(rgb, false).hasAlpha());

    // 16-bit channels keep their high byte.
    const Bytes rgba16 =
        encodePng(oneRowPng(1, PNG_COLOR_TYPE_RGB_ALPHA, 16, {0x12, 0x34, 0x56, 0xFF, 0x9A, 0x00, 0x7F, 0x80}));
    EXPECT_EQ(pixelsOf(loaded(rgba16, true)), (std::vector{make(0x9A, 0x56, 0x12, 0x7F)}));
    EXPECT_TRUE(loaded(rgba16, true).hasAlpha());
}

TEST(PngLoad, InterlacedPicturesAreAssembled)
{
    tPngContent png{9, 9, PNG_COLOR_TYPE_RGB_ALPHA, 8, {}, {}, {}, 0xFFFF, true};
    std::vector<std::uint32_t> expected;
    for (unsigned char y = 0; y < 9; ++y) {
        Bytes row;
        for (unsigned char x = 0; x < 9; ++x) {
            row.insert(row.end(), {x, y, static_cast<unsigned char>(x * y), 0xFF});
            expected.push_back(make(x * y, y, x, 0xFF));
        }
        png.rows.push_back(row);
    }
    const Picture picture = loaded(encodePng(png), true);
    EXPECT_EQ(picture.width(), 9);
    EXPECT_EQ(pixelsOf(picture), expected);
}

TEST(JpegLoad, BaselineProgressiveAndGrayDecodeToOpaquePixels)
{
    Bytes quadrants(16 * 16 * 3);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const int quadrant = (y / 8) * 2 + x / 8;
            const unsigned char colours[4][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
            std::copy_n(colours[quadrant], 3, &quadrants[static_cast<std::size_t>(y * 16 + x) * 3]);
        }
    }
    const auto near = [](std::uint32_t a, std::uint32_t b) {
        for (int shift = 0; shift < 32; shift += 8) {
            if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 8) {
                return false;
            }
        }
        return true;
    };
    for (const bool progressive : {false, true}) {
        const Picture picture = loaded(encodeJpeg(16, 16, 3, quadrants, progressive), true);
        ASSERT_EQ(picture.height(), 16);
        EXPECT_FALSE(picture.hasAlpha());
        EXPECT_TRUE(near(picture.row(3)[3], make(0, 0, 255, 255))) << std::hex << picture.row(3)[3];
        EXPECT_TRUE(near(picture.row(3)[12], make(0, 255, 0, 255))) << std::hex << picture.row(3)[12];
        EXPECT_TRUE(near(picture.row(12)[3], make(255, 0, 0, 255))) << std::hex << picture.row(12)[3];
        EXPECT_TRUE(near(picture.row(12)[12], make(255, 255, 255, 255))) << std::hex << picture.row(12)[12];
    }
    const Picture grayPicture = loaded(encodeJpeg(8, 8, 1, Bytes(64, 100), false), true);
    EXPECT_TRUE(near(grayPicture.row(7)[7], gray(100)));
}

TEST(TgaLoad, SixteenBitColourIsFiveFiveFiveWithZeroTransparentAndRowsBottomUp)
{
    // File rows: bottom row (red, 0), then top row (green, gray 16 of 31).
    const Bytes data{0x00, 0x7C, 0x00, 0x00, 0xE0, 0x03, 0x10, 0x42};
    const Picture picture = loaded(encodeTga(2, 2, 2, 16, 0, data), false);
    EXPECT_EQ(pixelsOf(picture), (std::vector{make(0, 255, 0, 255), gray(132), make(0, 0, 255, 255), 0u}));
    EXPECT_TRUE(picture.hasAlpha());

    const Picture opaque = loaded(encodeTga(2, 1, 1, 16, 0, {0x00, 0x80}), false);
    EXPECT_EQ(opaque.pixels()[0], gray(0));
    EXPECT_FALSE(opaque.hasAlpha());
}

TEST(TgaLoad, TrueColourSkipsIdAndColourMapAndHonoursTopLeftOrigin)
{
    const Bytes bgr{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    const Picture topDown = loaded(encodeTga(2, 2, 2, 24, 0x20, bgr, {'i', 'd'}, 2), false);
    EXPECT_EQ(pixelsOf(topDown), (std::vector{make(1, 2, 3, 255), make(4, 5, 6, 255), make(7, 8, 9, 255),
                                              make(10, 11, 12, 255)}));
    EXPECT_FALSE(topDown.hasAlpha());

    const Bytes bgra{1, 2, 3, 0xFF, 4, 5, 6, 0x80};
    const Picture bottomUp = loaded(encodeTga(2, 1, 2, 32, 0, bgra), false);
    EXPECT_EQ(pixelsOf(bottomUp), (std::vector{make(4, 5, 6, 0x80), make(1, 2, 3, 0xFF)}));
    EXPECT_TRUE(bottomUp.hasAlpha());
    EXPECT_FALSE(loaded(encodeTga(2, 1, 1, 32, 0, {1, 2, 3, 0xFF}), false).hasAlpha());
}

TEST(TgaLoad, RunLengthPacketsRepeatOrStorePixelsAcrossRows)
{
    // 3 x 2, bottom-up: a run of 2, then 3 stored pixels crossing into the top row, then a run of 1.
    const Bytes data{0x81, 1, 1, 1, 0xFF, 0x02, 2, 2, 2, 0xFF, 3, 3, 3, 0x40, 4, 4, 4, 0xFF, 0x80, 5, 5, 5, 0xFF};
    const Picture picture = loaded(encodeTga(10, 3, 2, 32, 0, data), false);
    EXPECT_EQ(pixelsOf(picture), (std::vector{gray(3, 0x40), gray(4), gray(5), gray(1), gray(1), gray(2)}));
    EXPECT_TRUE(picture.hasAlpha());
}

TEST(TgaLoad, OtherTypesAndDepthsAreRefused)
{
    for (const auto& [type, depth] : {std::pair{10, 24}, {2, 8}, {1, 8}, {3, 8}, {9, 32}}) {
        Picture picture;
        ByteStream input(encodeTga(static_cast<std::uint8_t>(type), 1, 1, static_cast<std::uint8_t>(depth), 0,
                                   Bytes(8, 1)));
        EXPECT_FALSE(picture.load(input.stream(), false)) << type << " " << depth;
    }
}

} // namespace
