#include "StudioTestSupport.h"

namespace Conduit2::Sim::Testing {
namespace {

class VendorRequestTest : public StudioTest {
protected:
    ControlReply::eKind chunk(std::uint16_t number, std::size_t size)
    {
        return out(0x41, 0x1D, number, 0, pattern(size, static_cast<std::uint8_t>(number)));
    }

    void startInDfuMode()
    {
        TrovixStudioModel::Config config;
        config.startsInDfuMode = true;
        start(config);
    }
};

TEST_F(VendorRequestTest, SecondaryRevisionIsReadFromTheRunTimeFirmware)
{
    start();
    EXPECT_EQ(in(0xC0, 0xB3, 0, 0x1D, 2).data, (Bytes{0x65, 0x00}));
    EXPECT_EQ(in(0xC0, 0xB3, 0, 0x1D, 1).data, (Bytes{0x65}));
    EXPECT_EQ(in(0xC0, 0xB3, 0, 0x1C, 2).kind, ControlReply::Stall);
    EXPECT_EQ(in(0xC0, 0xB3, 1, 0x1D, 2).kind, ControlReply::Stall);
    EXPECT_EQ(in(0xC1, 0xB3, 0, 0x1D, 2).kind, ControlReply::Stall);
    EXPECT_EQ(chunk(0, 256), ControlReply::Stall); // ImageB is written in DFU mode only

    startInDfuMode();
    EXPECT_EQ(in(0xC0, 0xB3, 0, 0x1D, 2).kind, ControlReply::Stall);
}

TEST_F(VendorRequestTest, NoAnswerKnobLeavesThatRequestUncompleted)
{
    TrovixStudioModel::Config config;
    config.faults = {{.kind = eFaultKind::Lose, .request = {0xC0, 0xB3, {}}, .repeats = true}};
    start(config);
    EXPECT_EQ(in(0xC0, 0xB3, 0, 0x1D, 2).kind, ControlReply::NoAnswer);
    EXPECT_EQ(descriptor(0x0100).size(), 18u);
}

TEST_F(VendorRequestTest, ImageBIsWrittenInOrderedChunksAndEnded)
{
    startInDfuMode();
    const auto image = pattern(StudioImageBRoom, 5);
    ASSERT_TRUE(writeImageB(image));
    EXPECT_EQ(model->imageB(), image);
    EXPECT_EQ(chunk(61, 0), ControlReply::Stall);  // the image was ended
    EXPECT_EQ(chunk(0, 257), ControlReply::Stall); // more than a chunk
    EXPECT_EQ(chunk(0, 44), ControlReply::Ack);    // a new image, ended at once
    EXPECT_EQ(chunk(1, 256), ControlReply::Stall);
    EXPECT_EQ(model->imageB(), pattern(44, 0));

    EXPECT_EQ(chunk(1, 256), ControlReply::Stall);
    EXPECT_EQ(chunk(0, 256), ControlReply::Ack);
    EXPECT_EQ(chunk(2, 256), ControlReply::Stall);
    for (std::uint16_t number = 1; number < 60; ++number) {
        ASSERT_EQ(chunk(number, 256), ControlReply::Ack);
    }
    EXPECT_EQ(chunk(60, 1), ControlReply::Stall); // beyond the room
    EXPECT_EQ(chunk(60, 0), ControlReply::Ack);
    EXPECT_EQ(out(0x41, 0x1E, 0, 0), ControlReply::Stall); // selector 2
}

} // namespace
} // namespace Conduit2::Sim::Testing
