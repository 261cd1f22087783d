#include "TestResources.h"

#include <casement/Picture.h>
#include <trellis/LazyPicture.h>
#include <trellis/ManagerContainer.h>

#include <gtest/gtest.h>

namespace Trellis {
namespace {

constexpr std::uint32_t Ink = 0xFF102331;
constexpr std::uint32_t Sharp = 0xFFF2F2F2;

class LazyPictureTest : public testing::Test {
protected:
    LazyPictureTest()
    {
        resources.add("PICTURE", "BUSYWHEEL.PNG", Testing::tgaPicture(2, 24, Ink));
        resources.add("PICTURE", "BUSYWHEEL@2X.PNG", Testing::tgaPicture(4, 48, Sharp));
        resources.add("PICTURE", "DEVICE.PNG", Testing::tgaPicture(3, 2, Ink));
        resources.add("PICTURE", "BROKEN.PNG", {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'});
        module = resources.module();
        properties.setFrameCount(12);
        properties.setVerticallyStretchable(true);
        properties.setTopBorder(3);
    }

    Testing::TestModule resources;
    Basalt::ResourceModule module;
    ManagerContainer manager{module, SkinSearchPlaces{}};
    Casement::PictureProperties properties;
    Testing::WarningCollector collector;
};

TEST_F(LazyPictureTest, TakesFramesAndScaledBordersFromItsProperties)
{
    LazyPicture wheel(manager, "Busywheel.png", properties);
    const auto plain = wheel.get(1.0f);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->width(), 2);
    EXPECT_EQ(plain->frameCount(), 12u);
    EXPECT_TRUE(plain->verticallyStretchable());
    EXPECT_EQ(plain->topBorder(), 3u);
    EXPECT_EQ(wheel.get(1.0f), plain);

    const auto sharp = wheel.get(2.0f);
    ASSERT_NE(sharp, nullptr);
    EXPECT_EQ(sharp->width(), 4);
    EXPECT_EQ(sharp->pixels()[0], Sharp);
    EXPECT_EQ(sharp->topBorder(), 6u);
    EXPECT_EQ(sharp->frameCount(), 12u);
}

TEST_F(LazyPictureTest, WithoutADoubleDensityFileThePlainPictureIsEnlarged)
{
    LazyPicture device(manager, "Device.png", properties);
    const auto enlarged = device.get(2.0f);
    ASSERT_NE(enlarged, nullptr);
    EXPECT_EQ(enlarged->width(), 6);
    EXPECT_EQ(enlarged->height(), 4);
    EXPECT_EQ(enlarged->pixels()[5], Ink);
    EXPECT_EQ(enlarged->topBorder(), 6u);
    // The plain picture was cached on the way.
    EXPECT_EQ(device.get(1.0f)->width(), 3);
    // Only the plain name's miss would be reported, and there was none.
    EXPECT_TRUE(collector.warnings.empty());
}

TEST_F(LazyPictureTest, NothingLoadsForAMissingPictureOrANonsenseScale)
{
    LazyPicture missing(manager, "Missing.png", properties);
    EXPECT_EQ(missing.get(2.0f), nullptr);
    EXPECT_EQ(collector.warnings, (std::vector<std::string>{
        "Trellis::ManagerContainer::getResourceStream - can't load linked resource Missing.png"}));
    LazyPicture wheel(manager, "Busywheel.png", properties);
    EXPECT_EQ(wheel.get(0.0f), nullptr);
    EXPECT_EQ(wheel.get(std::numeric_limits<float>::quiet_NaN()), nullptr);
}

// A missing double-density file is no fault; a plain picture that cannot be
// decoded is, each time it is asked for.
TEST_F(LazyPictureTest, APictureThatCannotBeDecodedIsReported)
{
    LazyPicture broken(manager, "Broken.png", properties);
    EXPECT_EQ(broken.get(1.0f), nullptr);
    EXPECT_EQ(broken.get(2.0f), nullptr);
    const std::string warning = "Trellis::LazyPicture - can't decode picture: Broken.png";
    EXPECT_EQ(collector.warnings, (std::vector<std::string>{warning, warning}));
}

TEST(DoubleDensityName, GoesBeforeTheExtension)
{
    EXPECT_EQ(doubleDensityName("Busywheel.png"), "Busywheel@2x.png");
    EXPECT_EQ(doubleDensityName("sub.dir/pic"), "sub.dir/pic@2x");
    EXPECT_EQ(doubleDensityName("a.b.png"), "a.b@2x.png");
}

} // namespace
} // namespace Trellis
