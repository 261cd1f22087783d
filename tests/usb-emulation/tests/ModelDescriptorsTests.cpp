#include "ModelDescriptors.h"

#include <sim/TrovixStudioModel.h>

#include <gtest/gtest.h>

namespace UsbEmulation {
namespace {

using Conduit2::Sim::ControlReply;
using Conduit2::Sim::SetupPacket;
using Conduit2::Sim::TrovixStudioModel;

std::uint16_t word(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

TEST(ModelDescriptors, GivesTheDeviceThenTheWholeConfigurationInEachMode)
{
    for (const bool dfuMode : {false, true}) {
        TrovixStudioModel::Config config;
        config.startsInDfuMode = dfuMode;
        TrovixStudioModel model(config);
        const auto device = enumerateModel(model);
        ASSERT_TRUE(device);
        const auto& bytes = device->descriptors;
        ASSERT_GT(bytes.size(), 18u + 9u);
        EXPECT_EQ(word(bytes, 8), 0x17cc);
        EXPECT_EQ(word(bytes, 10), dfuMode ? 0x1302 : 0x1300);
        EXPECT_EQ(bytes[18 + 1], 2) << "a configuration descriptor follows the device descriptor";
        EXPECT_EQ(bytes.size(), 18u + word(bytes, 18 + 2));
        EXPECT_EQ(device->configurationValue, bytes[18 + 5]);
    }
}

// Answers the device descriptor, then only ever the configuration's 9-byte
// header, although it announces 27 bytes; or stalls everything.
class BrokenModel final : public Conduit2::Sim::UsbDeviceModel {
public:
    explicit BrokenModel(bool stallsAll) : stallsAll_(stallsAll) {}
    void attach(Conduit2::Sim::DevicePort*) override {}
    void busReset() override {}
    ControlReply control(const SetupPacket& setup, std::span<const std::uint8_t>) override
    {
        if (stallsAll_) {
            return ControlReply::stall();
        }
        if (setup.wValue == 0x0100) {
            return ControlReply::ack({18, 1, 0, 2, 0, 0, 0, 64, 0xcc, 0x17, 0, 0x13, 0x20, 0, 1, 2, 3, 1});
        }
        return ControlReply::ack({9, 2, 27, 0, 1, 1, 0, 0x80, 50});
    }

private:
    bool stallsAll_;
};

TEST(ModelDescriptors, RefusesADeviceThatDoesNotAnswerItsDescriptorsInFull)
{
    BrokenModel truncated(false);
    EXPECT_FALSE(enumerateModel(truncated));
    BrokenModel stalling(true);
    EXPECT_FALSE(enumerateModel(stalling));
}

} // namespace
} // namespace UsbEmulation
