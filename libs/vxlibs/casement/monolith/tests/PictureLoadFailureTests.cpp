#include "PictureEncoders.h"

#include <casement/Picture.h>

#include <gtest/gtest.h>

#include <png.h>
#include <zlib.h>

namespace {

using namespace CasementTests;
using Casement::Picture;

constexpr std::int64_t JunkBefore = 3;

// Loads `bytes` placed after a few other bytes into a picture that already
// holds one pixel; checks that a failure leaves both as they were.
bool loadsAfterJunk(const Bytes& bytes)
{
    Bytes withJunk(JunkBefore + bytes.size(), 0xEE);
    std::copy(bytes.begin(), bytes.end(), withJunk.begin() + JunkBefore);
    ByteStream input(withJunk, JunkBefore);
    Picture picture;
    picture.allocate(1, 1);
    picture.pixels()[0] = 0x12345678;
    picture.setFrameCount(4);
    if (picture.load(input.stream(), true)) {
        return true;
    }
    EXPECT_EQ(input.stream().tell(), JunkBefore);
    EXPECT_EQ(picture.width(), 1);
    EXPECT_EQ(picture.pixels()[0], 0x12345678u);
    return false;
}

Bytes samplePng()
{
    tPngContent png{4, 4, PNG_COLOR_TYPE_RGB_ALPHA, 8, std::vector<Bytes>(4, Bytes(16, 0x90)), {}, {}, 0xFFFF, false};
    return encodePng(png);
}

void putBigEndian(Bytes& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<unsigned char>(value >> (24 - 8 * i));
    }
}

// Sets the header's width and height (bytes 16 and 20) and renews its CRC
// (over the chunk type and the 13 bytes of data).
Bytes pngSized(std::uint32_t width, std::uint32_t height)
{
    Bytes png = samplePng();
    putBigEndian(png, 16, width);
    putBigEndian(png, 20, height);
    putBigEndian(png, 29, static_cast<std::uint32_t>(crc32(0, &png[12], 17)));
    return png;
}

TEST(PictureLoadFailure, EveryTruncationOfEachFormatFailsAndRestoresTheStream)
{
    const std::vector<Bytes> samples{
        samplePng(),
        encodeJpeg(8, 8, 3, Bytes(8 * 8 * 3, 0x60), false),
        encodeJpeg(16, 16, 1, Bytes(16 * 16, 0x60), true),
        encodeTga(2, 2, 2, 24, 0, Bytes(12, 0x33)),
        encodeTga(10, 2, 2, 32, 0, {0x83, 1, 2, 3, 4}),
    };
    for (const Bytes& sample : samples) {
        EXPECT_TRUE(loadsAfterJunk(sample));
        for (std::size_t length = 0; length < sample.size(); ++length) {
            EXPECT_FALSE(loadsAfterJunk(Bytes(sample.begin(), sample.begin() + length))) << length;
        }
    }
}

TEST(PictureLoadFailure, CorruptDataAndAbsurdSizesAreRefused)
{
    Bytes damaged = samplePng();
    damaged[damaged.size() - 20] ^= 0x55; // inside the compressed rows: the chunk's CRC no longer matches
    EXPECT_FALSE(loadsAfterJunk(damaged));

    EXPECT_TRUE(loadsAfterJunk(pngSized(4, 4)));
    EXPECT_FALSE(loadsAfterJunk(pngSized(16385, 4)));
    EXPECT_FALSE(loadsAfterJunk(pngSized(16384, 16384)));

    Bytes noHeight = encodeJpeg(8, 8, 1, Bytes(64, 0x60), false);
    for (std::size_t i = 0; i + 5 < noHeight.size(); ++i) {
        if (noHeight[i] == 0xFF && noHeight[i + 1] == 0xC0) {
            noHeight[i + 5] = noHeight[i + 6] = 0; // the frame header's height
            break;
        }
    }
    EXPECT_FALSE(loadsAfterJunk(noHeight));

    // The end marker two bytes into the compressed data: libjpeg would go on with zeros.
    Bytes gradient(64 * 64);
    for (std::size_t i = 0; i < gradient.size(); ++i) {
        gradient[i] = static_cast<unsigned char>(i * 13);
    }
    Bytes cut = encodeJpeg(64, 64, 1, gradient, false);
    for (std::size_t i = 0; i + 3 < cut.size(); ++i) {
        if (cut[i] == 0xFF && cut[i + 1] == 0xDA) {
            const std::size_t data = i + 2 + (cut[i + 2] << 8 | cut[i + 3]);
            cut.resize(data + 4);
            cut[data + 2] = 0xFF;
            cut[data + 3] = 0xD9;
            break;
        }
    }
    EXPECT_FALSE(loadsAfterJunk(cut));

    EXPECT_FALSE(loadsAfterJunk(encodeTga(2, 0, 1, 24, 0, Bytes(3, 1))));
    EXPECT_FALSE(loadsAfterJunk(encodeTga(2, 0xFFFF, 0xFFFF, 32, 0, Bytes(64, 1))));
    EXPECT_FALSE(loadsAfterJunk(encodeTga(10, 0x4000, 0x4000, 32, 0, Bytes(4096, 0xFF))));
    // A run of 4 pixels in a picture of 3.
    EXPECT_FALSE(loadsAfterJunk(encodeTga(10, 3, 1, 32, 0, {0x83, 1, 2, 3, 4})));
}

TEST(PictureLoadFailure, ALoadReplacesPixelsAndDrawingStateButKeepsFrameProperties)
{
    Picture picture;
    picture.allocate(8, 8);
    picture.setOrigin({3, 3});
    picture.setVisibleRect({1, 1, 2, 2});
    picture.setFastBlend(true);
    picture.setPartMasks({16});
    picture.setFrameCount(2);
    picture.setVerticallyStretchable(true);
    ByteStream input(encodeTga(2, 2, 4, 24, 0, Bytes(24, 1)));
    ASSERT_TRUE(picture.load(input.stream(), true));
    EXPECT_EQ(picture.width(), 2);
    EXPECT_EQ(picture.origin(), (Casement::Point{0, 0}));
    EXPECT_EQ(picture.visibleRect(), (Casement::Rect{0, 0, 2, 4}));
    EXPECT_FALSE(picture.fastBlend());
    EXPECT_TRUE(picture.partMasks().empty());
    EXPECT_EQ(picture.frameCount(), 2u);
    EXPECT_TRUE(picture.verticallyStretchable());
}

} // namespace
