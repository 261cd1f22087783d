// Saving a simulated Trovix Studio, the text it is kept in, and the device
// restored from it in a later run.
#include "StudioTestSupport.h"

#include <sim/SimScenarios.h>
#include <sim/StudioStateText.h>

#include <functional>
#include <sstream>

namespace Conduit2::Sim::Testing {
namespace {

class StudioStateTest : public StudioTest {
protected:
    // The device as a later run meets it: saved, written as text, read back and restored.
    void saveAndRestore()
    {
        std::string error;
        const auto saved = parseSavedStudio(formatSavedStudio({"test", model->state()}, config), config, error);
        ASSERT_TRUE(saved) << error;
        model = std::make_unique<TrovixStudioModel>(config, saved->state);
        model->attach(&port);
        port.events.clear();
    }

    // ImageB, then ImageA up to its manifestation, as the updater writes them.
    void writeFirmware()
    {
        ASSERT_TRUE(writeImageB(config.expectedImageB));
        downloadImage(config.expectedImageA);
        EXPECT_EQ(getStatus().state, eDfuState::Manifest);
    }

    TrovixStudioModel::Config config = withFirmware();
};

TEST_F(StudioStateTest, AWriteFailureOfOneRunIsRecoveredByTheNext)
{
    config = withFirmware(findScenario("write-fails-once")->config);
    config.startsInDfuMode = true;
    start(config);
    ASSERT_TRUE(writeImageB(config.expectedImageB));
    for (std::uint16_t block = 0; block < 5; ++block) {
        sendBlock(block, slice(config.expectedImageA, block * 4096u, 4096));
    }
    ASSERT_EQ(dfuOut(DfuDnload, 5, slice(config.expectedImageA, 5 * 4096u, 4096)), ControlReply::Stall);

    saveAndRestore();
    EXPECT_EQ(model->mode(), eStudioMode::Dfu);
    EXPECT_EQ(getStatus().status, static_cast<std::uint8_t>(eDfuStatus::ErrWrite)) << "still in dfuERROR";
    EXPECT_EQ(model->imageA(), slice(config.expectedImageA, 0, 5 * 4096u));
    EXPECT_EQ(model->faultsStruck(), 1u);
    EXPECT_EQ(dfuOut(DfuClrStatus), ControlReply::Ack);
    writeFirmware();
    clock.advance(1s);
    EXPECT_EQ(getStatus().state, eDfuState::DfuIdle) << "block 5 went through: the fault is used up";
    model->busReset();
    clock.advance(1s);
    EXPECT_EQ(model->mode(), eStudioMode::RunTime);
    EXPECT_EQ(in(0xC0, 0xB3, 0, 0x1D, 2).data, (Bytes{0x67, 0x00}));
}

// What the device was about to do when it was saved, it has done when it is restored.
TEST_F(StudioStateTest, AStepUnderWayIsTakenOnRestore)
{
    struct Row {
        const char* what;
        std::function<void()> drive;
        eStudioStep underWay;
        eStudioMode restored;
        std::uint16_t release; // of the restored device's descriptor
    };
    const auto inDfuMode = [this] {
        config.startsInDfuMode = true;
        start(config);
    };
    const auto detached = [this] {
        start(config);
        dfuOut(DfuDetach, 1000);
    };
    const std::vector<Row> rows{
        {"detached, still on the bus", detached, eStudioStep::DropForDfuMode, eStudioMode::Dfu, 32},
        {"off the bus for DFU mode",
         [&] {
             detached();
             clock.advance(5ms);
         },
         eStudioStep::EnumerateInDfuMode, eStudioMode::Dfu, 32},
        {"manifesting",
         [&] {
             inDfuMode();
             writeFirmware();
         },
         eStudioStep::FinishManifestation, eStudioMode::Dfu, 32},
        {"booting the written firmware",
         [&] {
             inDfuMode();
             writeFirmware();
             clock.advance(1s);
             getStatus();
             model->busReset();
         },
         eStudioStep::Boot, eStudioMode::RunTime, 33},
        {"booting with nothing written",
         [&] {
             inDfuMode();
             model->busReset();
         },
         eStudioStep::Boot, eStudioMode::Dfu, 32},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        config = withFirmware();
        row.drive();
        ASSERT_EQ(model->state().nextStep, row.underWay);
        saveAndRestore();
        EXPECT_EQ(model->mode(), row.restored);
        EXPECT_EQ(model->state().nextStep, eStudioStep::None);
        EXPECT_EQ(le16(descriptor(0x0100), 12), row.release);
    }
}

TEST(StudioStateText, EveryStateReadsBackAsItWasWritten)
{
    const auto config = withFirmware();
    std::vector<SavedStudio> states;
    for (const Scenario& scenario : allScenarios()) {
        states.push_back({std::string(scenario.name), TrovixStudioModel(withFirmware(scenario.config)).state()});
    }
    const StudioState unusual{eStudioMode::Off,
                              eStudioStep::Boot,
                              0xFFFF,
                              0,
                              false,
                              true,
                              true,
                              {3, 0, 4000000000u},
                              7,
                              {eDfuState::Error, eDfuStatus::ErrAddress, pattern(100, 9), 65535, 2, true, true},
                              {slice(config.expectedImageB, 0, 512), 2, false}};
    states.push_back({"unusual", unusual});

    for (const SavedStudio& saved : states) {
        SCOPED_TRACE(saved.scenario);
        const std::string text = formatSavedStudio(saved, config);
        std::string error;
        const auto read = parseSavedStudio(text, config, error);
        ASSERT_TRUE(read) << error << '\n' << text;
        EXPECT_EQ(*read, saved);
    }
    const std::string text = formatSavedStudio(states.back(), config);
    EXPECT_NE(text.find("\nimage-a bytes 0910"), std::string::npos)
        << "bytes that are not the expected image are written out";
    EXPECT_NE(text.find("\nimage-b expected 512\n"), std::string::npos);
}

TEST(StudioStateText, CommentsBlankLinesCarriageReturnsAndAnyOrderAreAccepted)
{
    const auto config = withFirmware();
    const SavedStudio saved{"update-available", TrovixStudioModel(config).state()};
    std::vector<std::string> lines;
    std::istringstream text(formatSavedStudio(saved, config));
    for (std::string line; std::getline(text, line);) {
        lines.push_back(line);
    }
    std::string reordered = "\n  # written by hand\r\n";
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
        reordered += "  " + *line + " \r\n\n";
    }
    std::string error;
    const auto read = parseSavedStudio(reordered, config, error);
    ASSERT_TRUE(read) << error;
    EXPECT_EQ(*read, saved);
}

TEST(StudioStateText, ABadTextIsRefusedWithItsLine)
{
    const auto config = withFirmware();
    const std::string good = formatSavedStudio({"update-available", TrovixStudioModel(config).state()}, config);
    const auto changed = [&](std::string_view line, std::string_view by) {
        std::string text = good;
        return text.replace(text.find(line), line.size(), by);
    };
    const std::vector<std::pair<std::string, std::string>> cases{
        {"", "scenario is missing"},
        {"Hello, world\n", "line 1: unknown key 'Hello,'"},
        {good + "colour\x01 blue\n", "line 22: unknown key 'colour?'"},
        {good + "release 33\n", "line 22: release is given twice"},
        {changed("mode run-time\n", ""), "mode is missing"},
        {changed("mode run-time", "mode asleep"), "line 3: mode has an invalid value"},
        {changed("release 32", "release 65536"), "line 5: release has an invalid value"},
        {changed("release 32", "release -1"), "line 5: release has an invalid value"},
        {changed("release 32", "release 0x"), "line 5: release has an invalid value"},
        {changed("release 32", "release 3 2"), "line 5: release has an invalid value"},
        {changed("hung no", "hung maybe"), "line 8: hung has an invalid value"},
        {changed("fault-points-reached", "fault-points-reached 1 x"),
         "line 10: fault-points-reached has an invalid value"},
        {changed("dfu-state appIDLE", "dfu-state appidle"), "line 12: dfu-state has an invalid value"},
        {changed("image-a expected 0", "image-a expected 60417"), "line 18: image-a has an invalid value"},
        {changed("image-b expected 0", "image-b bytes 0a1"), "line 21: image-b has an invalid value"},
        {changed("image-b expected 0", "image-b bytes 0g"), "line 21: image-b has an invalid value"},
        {changed("image-b expected 0", "image-b bytes " + std::string(2 * StudioImageBRoom + 2, '0')),
         "line 21: image-b has an invalid value"},
        {changed("scenario update-available", "scenario"), "line 2: scenario has an invalid value"},
    };
    for (const auto& [text, expected] : cases) {
        std::string error;
        EXPECT_FALSE(parseSavedStudio(text, config, error)) << expected;
        EXPECT_EQ(error, expected);
    }
}

} // namespace
} // namespace Conduit2::Sim::Testing
