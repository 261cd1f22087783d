#include <casement/PictureEnlarging.h>

#include <gtest/gtest.h>

#include <cmath>

namespace {

using Casement::Picture;

Picture numbered(std::int32_t width, std::int32_t height)
{
    Picture picture;
    picture.allocate(width, height);
    for (std::int32_t i = 0; i < width * height; ++i) {
        picture.pixels()[i] = static_cast<std::uint32_t>(i);
    }
    picture.setHasAlpha(true);
    picture.setFrameCount(2);
    picture.setHorizontalFrames(true);
    picture.setHorizontallyStretchable(true);
    picture.setLeftBorder(1);
    picture.setRightBorder(3);
    picture.setPartMasks({1, 2});
    return picture;
}

TEST(EnlargePicture, ScaleTwoDoublesEveryPixelAndTheBorders)
{
    const auto copy = Casement::enlargePicture(numbered(4, 3), 2.0f);
    ASSERT_TRUE(copy);
    ASSERT_EQ(copy->width(), 8);
    ASSERT_EQ(copy->height(), 6);
    for (std::int32_t y = 0; y < 6; ++y) {
        for (std::int32_t x = 0; x < 8; ++x) {
            EXPECT_EQ(copy->row(y)[x], static_cast<std::uint32_t>(y / 2 * 4 + x / 2));
        }
    }
    EXPECT_TRUE(copy->hasAlpha());
    EXPECT_EQ(copy->frameCount(), 2u);
    EXPECT_EQ(copy->orientation(), Picture::Horizontal);
    EXPECT_EQ(copy->stretchFlags(), Picture::HorizontallyStretchable);
    EXPECT_EQ(copy->leftBorder(), 2u);
    EXPECT_EQ(copy->rightBorder(), 6u);
    EXPECT_EQ(copy->partMasks(), (std::vector<std::uint16_t>{1, 2}));
}

TEST(EnlargePicture, FractionalScaleRoundsHalvesUpAndRepeatsTheLastColumnAndRow)
{
    const auto copy = Casement::enlargePicture(numbered(3, 2), 1.5f);
    ASSERT_TRUE(copy);
    ASSERT_EQ(copy->width(), 5);
    ASSERT_EQ(copy->height(), 3);
    const std::vector<std::uint32_t> expected{0, 1, 2, 2, 2, 3, 4, 5, 5, 5, 3, 4, 5, 5, 5};
    EXPECT_EQ(std::vector(copy->pixels(), copy->pixels() + 15), expected);
    EXPECT_EQ(copy->leftBorder(), 2u);
    EXPECT_EQ(copy->rightBorder(), 5u);

    EXPECT_FALSE(Casement::enlargePicture(numbered(3, 2), 0.5f));
    EXPECT_FALSE(Casement::enlargePicture(numbered(3, 2), NAN));
    EXPECT_FALSE(Casement::enlargePicture(numbered(3, 2), INFINITY));
    EXPECT_FALSE(Casement::enlargePicture(Picture(), 2.0f));
}

} // namespace
