#include <casement/Picture.h>

#include <basalt/MemoryStorage.h>
#include <basalt/Stream.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using Casement::Picture;
using Casement::Rect;

TEST(PictureFrames, BusyWheelHasTwelveSquareFramesAndClampsPastTheLast)
{
    Picture wheel;
    wheel.allocate(22, 264);
    wheel.setFrameCount(12);
    EXPECT_EQ(wheel.frameRect(0), (Rect{0, 0, 22, 22}));
    EXPECT_EQ(wheel.frameRect(11), (Rect{0, 242, 22, 22}));
    EXPECT_EQ(wheel.frameRect(12), wheel.frameRect(11));
}

TEST(PictureFrames, CountZeroIsOneFrameAndSideBySideFramesSplitTheWidth)
{
    Picture picture;
    picture.allocate(30, 10);
    EXPECT_EQ(picture.frameRect(5), (Rect{0, 0, 30, 10}));
    picture.setHorizontalFrames(true);
    picture.setFrameCount(3);
    EXPECT_EQ(picture.frameRect(2), (Rect{20, 0, 10, 10}));
    picture.setFrameCount(0xFFFFFFFF);
    EXPECT_TRUE(picture.frameRect(0xFFFFFFFE).empty());
}

TEST(PictureProperties, SurviveTheirSerialisedFormAndRefuseAShortOne)
{
    Casement::PictureProperties written;
    written.setHasAlpha(true);
    written.setFrameCount(7);
    written.setHorizontallyStretchable(true);
    written.setTopBorder(6);
    written.setRightBorder(9);
    std::vector<unsigned char> bytes(33);
    auto storage = std::make_shared<Basalt::MemoryStorage>();
    storage->open(bytes.data(), bytes.size(), Basalt::IStorage::ReadWrite);
    Basalt::Stream stream(storage);
    ASSERT_TRUE(written.writeTo(stream));
    EXPECT_EQ(bytes[0], 1);

    ASSERT_TRUE(stream.seek(0, Basalt::IStorage::FromStart));
    Casement::PictureProperties read;
    ASSERT_TRUE(read.readFrom(stream));
    EXPECT_TRUE(read.hasAlpha());
    EXPECT_EQ(read.frameCount(), 7u);
    EXPECT_EQ(read.stretchFlags(), Casement::PictureProperties::HorizontallyStretchable);
    EXPECT_EQ(read.topBorder(), 6u);
    EXPECT_EQ(read.rightBorder(), 9u);

    ASSERT_TRUE(stream.seek(1, Basalt::IStorage::FromStart));
    Casement::PictureProperties untouched;
    EXPECT_FALSE(untouched.readFrom(stream));
    EXPECT_EQ(untouched.frameCount(), 0u);
}

} // namespace
