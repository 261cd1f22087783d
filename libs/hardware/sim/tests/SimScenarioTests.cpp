#include "StudioTestSupport.h"

#include <sim/SimScenarios.h>

#include <set>

namespace Conduit2::Sim::Testing {
namespace {

TEST(SimScenarios, NamesAreUniqueAndFoundByName)
{
    std::set<std::string_view> names;
    for (const auto& scenario : allScenarios()) {
        EXPECT_TRUE(names.insert(scenario.name).second) << scenario.name;
        EXPECT_EQ(findScenario(scenario.name), &scenario);
    }
    EXPECT_EQ(names, (std::set<std::string_view>{"update-available", "up-to-date", "secondary-older", "in-dfu-mode",
                                                 "boot-fails", "write-fails", "write-fails-once", "slow-return",
                                                 "no-device"}));
    ASSERT_NE(findScenario(DefaultScenarioName), nullptr);
    EXPECT_EQ(findScenario("update"), nullptr);
    EXPECT_FALSE(findScenario("no-device")->hasDevice);
}

class ScenarioTest : public StudioTest {};

// What the updater reads at arrival: product id, release, secondary revision.
TEST_F(ScenarioTest, DevicesReportTheirFirmware)
{
    auto check = [&](std::string_view name, std::uint16_t productId, std::uint16_t release, Bytes secondary) {
        SCOPED_TRACE(name);
        start(findScenario(name)->config);
        const auto device = descriptor(0x0100);
        EXPECT_EQ(le16(device, 10), productId);
        EXPECT_EQ(le16(device, 12), release);
        EXPECT_EQ(in(0xC0, 0xB3, 0, 0x1D, 2).data, secondary);
    };
    check("update-available", 0x1300, 32, {0x65, 0});
    check("up-to-date", 0x1300, 33, {0x67, 0});
    check("secondary-older", 0x1300, 33, {0x65, 0});
    check("in-dfu-mode", 0x1302, 32, {});
}

TEST_F(ScenarioTest, FaultyScenariosMisbehave)
{
    start(findScenario("boot-fails")->config);
    EXPECT_EQ(dfuOut(DfuDetach, 1000), ControlReply::Ack);
    EXPECT_EQ(getState(), eDfuState::AppIdle);
    model->busReset();
    clock.advance(10s);
    EXPECT_TRUE(port.events.empty());

    auto writeFails = findScenario("write-fails")->config;
    writeFails.startsInDfuMode = true;
    start(writeFails);
    for (std::uint16_t block = 0; block < 5; ++block) {
        sendBlock(block, pattern(4096, 0));
    }
    EXPECT_EQ(dfuOut(DfuDnload, 5, pattern(4096, 0)), ControlReply::Stall);

    auto slowReturn = findScenario("slow-return")->config;
    slowReturn.startsInDfuMode = true;
    start(slowReturn);
    model->busReset();
    clock.advance(6999ms);
    EXPECT_EQ(port.events, Events{"unplug"});
    clock.advance(1ms);
    EXPECT_EQ(port.events, (Events{"unplug", "plug"}));
}

} // namespace
} // namespace Conduit2::Sim::Testing
