#include "StudioTestSupport.h"

namespace Conduit2::Sim::Testing {
namespace {

std::string utf16Text(const Bytes& descriptor)
{
    std::string text;
    for (std::size_t i = 2; i + 1 < descriptor.size(); i += 2) {
        EXPECT_EQ(descriptor[i + 1], 0);
        text += static_cast<char>(descriptor[i]);
    }
    return text;
}

class DescriptorTest : public StudioTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override
    {
        TrovixStudioModel::Config config;
        config.startsInDfuMode = GetParam();
        config.installedRelease = 33;
        config.dfuAttributes = 0x0B;
        config.detachTimeOutMs = 2500;
        config.transferSize = 1024;
        start(config);
    }
};

TEST_P(DescriptorTest, DeviceDescriptorNamesTheModeAndRelease)
{
    const auto device = descriptor(0x0100);
    ASSERT_EQ(device.size(), 18u);
    EXPECT_EQ(device[0], 18);
    EXPECT_EQ(device[1], 1);
    EXPECT_EQ(le16(device, 2), 0x0200);
    EXPECT_EQ(le16(device, 8), TrovixVendorId);
    EXPECT_EQ(le16(device, 10), GetParam() ? StudioDfuProductId : StudioRunTimeProductId);
    EXPECT_EQ(le16(device, 12), 0x0021);
    EXPECT_EQ(Bytes(device.begin() + 14, device.end()), (Bytes{1, 2, 3, 1}));
}

// Walks the configuration as a host parser does.
TEST_P(DescriptorTest, ConfigurationIsConsistentAndEndsWithTheDfuFunctionalDescriptor)
{
    const auto config = descriptor(0x0200);
    ASSERT_GE(config.size(), 9u);
    EXPECT_EQ(le16(config, 2), config.size());
    std::vector<Bytes> parts;
    for (std::size_t at = 0; at < config.size(); at += config[at]) {
        ASSERT_GT(config[at], 1);
        ASSERT_LE(at + config[at], config.size());
        parts.emplace_back(config.begin() + static_cast<long>(at), config.begin() + static_cast<long>(at + config[at]));
    }
    const std::size_t interfaces = GetParam() ? 1 : 2;
    ASSERT_EQ(parts.size(), interfaces + 2);
    EXPECT_EQ(config[4], interfaces);
    EXPECT_EQ(config[5], 1);
    if (!GetParam()) {
        EXPECT_EQ(Bytes(parts[1].begin() + 1, parts[1].end()), (Bytes{4, 0, 0, 0, 0xFF, 0, 0, 0}));
    }
    const auto protocol = static_cast<std::uint8_t>(GetParam() ? 2 : 1);
    EXPECT_EQ(parts[interfaces], (Bytes{9, 4, static_cast<std::uint8_t>(interfaces - 1), 0, 0, 0xFE, 1, protocol, 0}));
    EXPECT_EQ(parts.back(), (Bytes{9, 0x21, 0x0B, 0xC4, 0x09, 0x00, 0x04, 0x10, 0x01}));
}

TEST_P(DescriptorTest, StringsAreUtf16InOneLanguage)
{
    EXPECT_EQ(descriptor(0x0300), (Bytes{4, 3, 0x09, 0x04}));
    const std::vector<std::string> expected{"Trovix", "Trovix Studio", "TVS0012345"};
    for (std::uint8_t index = 1; index <= 3; ++index) {
        const auto string = descriptor(0x0300 | index, 0x0409);
        ASSERT_GE(string.size(), 2u);
        EXPECT_EQ(string[0], string.size());
        EXPECT_EQ(string[1], 3);
        EXPECT_EQ(utf16Text(string), expected[index - 1u]);
    }
    EXPECT_EQ(descriptor(0x0303, 0), descriptor(0x0303, 0x0409));  // language 0 gives the same
    EXPECT_EQ(in(0x80, 6, 0x0304, 0x0409, 255).kind, ControlReply::Stall);
    EXPECT_EQ(in(0x80, 6, 0x0302, 0x0407, 255).kind, ControlReply::Stall);
}

TEST_P(DescriptorTest, AnswersAreCutToWLength)
{
    EXPECT_EQ(descriptor(0x0100, 0, 8).size(), 8u);
    const auto header = descriptor(0x0200, 0, 9);
    ASSERT_EQ(header.size(), 9u);
    EXPECT_EQ(le16(header, 2), descriptor(0x0200).size());
    EXPECT_EQ(descriptor(0x0302, 0x0409, 2), (Bytes{28, 3}));
    EXPECT_TRUE(descriptor(0x0100, 0, 0).empty());
}

INSTANTIATE_TEST_SUITE_P(Modes, DescriptorTest, ::testing::Bool(),
                         [](const auto& mode) { return mode.param ? "DfuMode" : "RunTimeMode"; });

class StandardRequestTest : public StudioTest {
protected:
    void SetUp() override { start(); }
};

TEST_F(StandardRequestTest, AnswersWhatEnumerationUses)
{
    EXPECT_EQ(in(0x80, 0, 0, 0, 2).data, (Bytes{0, 0}));
    EXPECT_EQ(in(0x81, 0, 0, 1, 2).data, (Bytes{0, 0}));
    EXPECT_EQ(in(0x80, 8, 0, 0, 1).data, (Bytes{0}));
    EXPECT_EQ(out(0x00, 9, 1, 0), ControlReply::Ack);
    EXPECT_EQ(in(0x80, 8, 0, 0, 1).data, (Bytes{1}));
    EXPECT_EQ(out(0x01, 11, 0, 1), ControlReply::Ack);
    EXPECT_EQ(in(0x81, 10, 0, 1, 1).data, (Bytes{0}));
}

TEST_F(StandardRequestTest, StallsWhatTheDeviceDoesNotHave)
{
    EXPECT_EQ(out(0x00, 9, 2, 0), ControlReply::Stall);                // configuration 2
    EXPECT_EQ(out(0x01, 11, 1, 1), ControlReply::Stall);               // alternate setting 1
    EXPECT_EQ(out(0x01, 11, 0, 2), ControlReply::Stall);               // interface 2
    EXPECT_EQ(in(0x81, 0, 0, 2, 2).kind, ControlReply::Stall);
    EXPECT_EQ(in(0x80, 6, 0x0101, 0, 18).kind, ControlReply::Stall); // device descriptor 1
    EXPECT_EQ(in(0x80, 6, 0x0201, 0, 9).kind, ControlReply::Stall);  // configuration 1
    EXPECT_EQ(in(0x80, 6, 0x0600, 0, 10).kind, ControlReply::Stall); // device qualifier: full speed only
    EXPECT_EQ(in(0x81, 6, 0x2100, 1, 9).kind, ControlReply::Stall);  // functional descriptor alone
    EXPECT_EQ(out(0x00, 3, 1, 0), ControlReply::Stall);                // SET_FEATURE
}

} // namespace
} // namespace Conduit2::Sim::Testing
