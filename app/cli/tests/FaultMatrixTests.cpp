// The fault matrix: the command-line update of a simulated Trovix Studio, in
// virtual time, with one fault at a time. Each run must end with the right
// sentence and never report a success the device does not bear out; a second
// run, once the fault is cleared, must leave the device on the carried
// firmware (unless the device is one the updater cannot write at all).

#include "cli/Commands.h"
#include "cli/Sentences.h"

#include "DeviceLayerFixture.h"

#include <firmware/FirmwareImageSet.h>
#include <logic/TVSUpdaterUpgradeLogic.h>
#include <logic/UpdaterMessages.h>
#include <sim/TrovixStudioModel.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;
using Conduit2::Sim::eFaultKind;
using Conduit2::Sim::eFaultPoint;
using Conduit2::Sim::eStudioMode;
using Conduit2::Sim::Fault;
using Conduit2::Sim::RequestMatch;
using Conduit2::Sim::StudioConfig;
using Conduit2::Sim::TrovixStudioModel;

// The sentence a run ends with.
struct Ending {
    const char* message;
    std::int32_t errorNumber = 0;
};

const Ending Success{UpdaterMessages::Success, 0};
const Ending UpToDate{UpdaterMessages::NoNewerFirmware, 0};
const Ending FailedToBoot{Cli::TerminalMessages::FailedToBoot, 0};
const Ending WriteFailed{Cli::TerminalMessages::Error, UpdateResult::WriteFailed};
const Ending NotUpdated{Cli::TerminalMessages::Error, 1};

struct Case {
    std::string name;
    StudioConfig config;
    bool strikes = false; // the fault strikes during the first run
    Ending first;
    Ending second;
    bool updatedInTheEnd = true;
    // Another Trovix Studio, plugged in before the one updated.
    std::optional<StudioConfig> other;
    // The fault is drawn at random from the request points.
    bool randomPoint = false;
    // The device is power-cycled before the second run.
    bool powerCycled = false;
};

void PrintTo(const Case& c, std::ostream* out)
{
    *out << c.name;
}

Case row(std::string name, StudioConfig config, bool strikes, Ending first, Ending second, bool updatedInTheEnd = true)
{
    return {std::move(name), std::move(config), strikes, first, second, updatedInTheEnd, std::nullopt, false, false};
}

Case withOther(Case c, void (*change)(StudioConfig&))
{
    c.other.emplace();
    change(*c.other);
    return c;
}

struct Point {
    const char* name;
    eFaultPoint point;
    RequestMatch request;
    std::uint32_t occurrence = 1;
};

RequestMatch imageBChunk(std::uint16_t chunk)
{
    return {0x41, 0x1D, chunk};
}

// Image A takes blocks 0 to 14 of 4096 bytes (the last one short); the
// closing block repeats number 14.
const std::vector<Point> RequestPoints{
    {"ImageBFirstChunk", eFaultPoint::Request, imageBChunk(0), 1},
    {"ImageBMiddleChunk", eFaultPoint::Request, imageBChunk(30), 1},
    {"ImageBLastChunk", eFaultPoint::Request, imageBChunk(60), 1},
    {"ImageAFirstBlock", eFaultPoint::Request, Conduit2::Sim::dfuDownloadBlock(0), 1},
    {"ImageAMiddleBlock", eFaultPoint::Request, Conduit2::Sim::dfuDownloadBlock(7), 1},
    {"ImageALastBlock", eFaultPoint::Request, Conduit2::Sim::dfuDownloadBlock(14), 1},
    {"ClosingBlock", eFaultPoint::Request, Conduit2::Sim::dfuDownloadBlock(14), 2},
};

const std::vector<std::pair<const char*, eFaultKind>> Kinds{
    {"Unplug", eFaultKind::Unplug},
    {"Hang", eFaultKind::Hang},
    {"Lose", eFaultKind::Lose},
    {"Stall", eFaultKind::Stall},
};

StudioConfig withFault(eFaultKind kind, const Point& where)
{
    StudioConfig config;
    config.faults = {{kind, where.point, where.request, where.occurrence, false}};
    return config;
}

StudioConfig with(void (*change)(StudioConfig&))
{
    StudioConfig config;
    change(config);
    return config;
}

// Every fault in the writes fails the update (-2) and leaves the device in
// update mode, where the next run finishes the update.
void addWriteFaults(std::vector<Case>& cases)
{
    for (const Point& where : RequestPoints) {
        for (const auto& [kindName, kind] : Kinds) {
            cases.push_back(row(std::string(kindName) + "At" + where.name, withFault(kind, where), true, WriteFailed,
                                Success));
        }
    }
}

// A lost poll during manifestation fails the update although the device
// manifests the firmware, and runs it after the final reset. A reset has no
// handshake to stall; a reset that does not take the device out of update
// mode is found out by the check of the updated device.
void addManifestationAndResetFaults(std::vector<Case>& cases)
{
    const Point manifestation{"", eFaultPoint::Manifestation, {}, 1};
    const Point reset{"", eFaultPoint::LeavingDfuMode, {}, 1};
    cases.insert(cases.end(), {
        row("UnplugDuringManifestation", withFault(eFaultKind::Unplug, manifestation), true, WriteFailed, Success),
        row("HangDuringManifestation", withFault(eFaultKind::Hang, manifestation), true, WriteFailed, Success),
        row("LoseDuringManifestation", withFault(eFaultKind::Lose, manifestation), true, WriteFailed, UpToDate),
        row("StallDuringManifestation", withFault(eFaultKind::Stall, manifestation), true, WriteFailed, Success),
        row("UnplugAtFinalReset", withFault(eFaultKind::Unplug, reset), true, NotUpdated, UpToDate),
        row("HangAtFinalReset", withFault(eFaultKind::Hang, reset), true, NotUpdated, UpToDate),
        row("LoseAtFinalReset", withFault(eFaultKind::Lose, reset), true, NotUpdated, Success),
        row("StallAtFinalResetCannotStrike", withFault(eFaultKind::Stall, reset), false, Success, UpToDate),
    });
}

void addPollFaults(std::vector<Case>& cases)
{
    const auto lost = [](std::uint8_t request, std::uint32_t occurrence) {
        return withFault(eFaultKind::Lose, {"", eFaultPoint::Request, {0xA1, request, {}}, occurrence});
    };
    cases.insert(cases.end(), {
        row("LoseGetStatusBeforeTheWrites", lost(3, 1), true, WriteFailed, Success),
        row("LoseGetStatusAfterABlock", lost(3, 2), true, WriteFailed, Success),
        row("LoseGetStateAfterTheClosingBlock", lost(5, 1), true, WriteFailed, Success),
    });
}

// The device is looked for in update mode 5 s after the detach, and back
// from its final reset 5 s and 10 s after it. One that comes back later has
// failed, though it updated.
void addTimingCases(std::vector<Case>& cases)
{
    cases.insert(cases.end(), {
        row("ReenumerationIn4900Ms", with([](StudioConfig& c) { c.reenumerationDelay = 4900ms; }), false, Success,
            UpToDate),
        row("ReenumerationIn5100Ms", with([](StudioConfig& c) { c.reenumerationDelay = 5100ms; }), false,
            FailedToBoot, Success),
        row("ReenumerationIn8000Ms", with([](StudioConfig& c) { c.reenumerationDelay = 8000ms; }), false,
            FailedToBoot, Success),
        row("BootPastTheWorkersWait", with([](StudioConfig& c) { c.bootDelay = 5100ms; }), false, Success, UpToDate),
        row("BootPastTheSecondLook", with([](StudioConfig& c) { c.bootDelay = 10100ms; }), false, NotUpdated,
            UpToDate),
    });
}

// A transfer size the driver cannot carry (0, or 8192 and more) is refused
// before anything is written, every time; a 1-byte size works unless the
// device is busy after each block, when the download outlasts its limit.
// With two devices the one enumerated last is updated; the other is left
// alone and never taken for it.
void addDeviceCases(std::vector<Case>& cases)
{
    const auto otherSerial = [](StudioConfig& c) { c.serialNumber = "TVS0054321"; };
    const auto otherUpToDate = [](StudioConfig& c) {
        c.serialNumber = "TVS0054321";
        c.installedRelease = 33;
        c.secondaryRevision = 0x67;
    };
    Case random = row("RandomRequestPoint", {}, true, WriteFailed, Success);
    random.randomPoint = true;
    // The serial number is read when the device enumerates: the cleared
    // fault shows only after a restart.
    Case otherSerialInUpdateMode = row("AnotherSerialNumberInUpdateMode",
                                       with([](StudioConfig& c) { c.serialInDfuMode = "TVS0099999"; }), false,
                                       FailedToBoot, Success);
    otherSerialInUpdateMode.powerCycled = true;
    cases.insert(cases.end(), {
        otherSerialInUpdateMode,
        row("TransferSize1", with([](StudioConfig& c) { c.transferSize = 1; c.busyAnswersPerBlock = 0; }), false,
            Success, UpToDate),
        row("TransferSize1BusyAfterEachBlock", with([](StudioConfig& c) { c.transferSize = 1; }), false, WriteFailed,
            WriteFailed, false),
        row("TransferSize8191", with([](StudioConfig& c) { c.transferSize = 8191; }), false, Success, UpToDate),
        row("TransferSize8192", with([](StudioConfig& c) { c.transferSize = 8192; }), false, FailedToBoot,
            FailedToBoot, false),
        row("TransferSize0", with([](StudioConfig& c) { c.transferSize = 0; }), false, FailedToBoot, FailedToBoot,
            false),
        withOther(row("TwoDevices", {}, false, Success, UpToDate), otherSerial),
        withOther(row("TwoDevicesTheUpdatedOneGoneTheOtherUpToDate",
                      withFault(eFaultKind::Unplug, {"", eFaultPoint::LeavingDfuMode, {}, 1}), true, NotUpdated,
                      UpToDate),
                  otherUpToDate),
        random,
    });
}

std::vector<Case> matrix()
{
    std::vector<Case> cases;
    addWriteFaults(cases);
    addManifestationAndResetFaults(cases);
    addPollFaults(cases);
    addTimingCases(cases);
    addDeviceCases(cases);
    return cases;
}

// Any kind of fault at any chunk of image B, block of image A or the
// closing block, drawn with TVS_FAULT_MATRIX_SEED or a fresh seed, which
// `trace` tells.
StudioConfig randomFault(std::string& trace)
{
    const char* fixed = std::getenv("TVS_FAULT_MATRIX_SEED");
    const auto seed = fixed ? static_cast<std::uint32_t>(std::strtoul(fixed, nullptr, 10)) : std::random_device{}();
    std::mt19937 random(seed);
    const auto kind = static_cast<std::size_t>(random() % Kinds.size());
    const auto index = static_cast<std::uint16_t>(random() % (61 + 15 + 1));
    const Point where = index < 61   ? Point{"image B chunk", eFaultPoint::Request, imageBChunk(index), 1}
                      : index < 76 ? Point{"image A block", eFaultPoint::Request,
                                           Conduit2::Sim::dfuDownloadBlock(static_cast<std::uint16_t>(index - 61)), 1}
                                   : Point{"closing block", eFaultPoint::Request, RequestPoints.back().request, 2};
    trace = "TVS_FAULT_MATRIX_SEED=" + std::to_string(seed) + ": " + Kinds[kind].first + " at " + where.name + " "
          + std::to_string(*where.request.wValue);
    return withFault(Kinds[kind].second, where);
}

class FaultMatrix : public Conduit2::Testing::DeviceLayerTest, public ::testing::WithParamInterface<Case> {
protected:
    std::shared_ptr<TrovixStudioModel> plug(StudioConfig config)
    {
        const auto a = FirmwareImageSet::imageA();
        const auto b = FirmwareImageSet::imageB();
        config.expectedImageA.assign(a.begin(), a.end());
        config.expectedImageB.assign(b.begin(), b.end());
        auto model = std::make_shared<TrovixStudioModel>(std::move(config));
        bus->attach(model);
        return model;
    }

    // One run of "update --yes" by a freshly started updater: checks its
    // ending, and that a success is borne out by the device.
    void runUpdate(const Ending& expected)
    {
        TVSUpdaterUpgradeLogic logic;
        const auto description = UpdaterDescription::forLogic(logic);
        std::istringstream in;
        std::ostringstream out;
        Cli::Console console{in, out, out, false};
        const Cli::UpdateProgress progress{[&logic] { return logic.writtenBytes(); },
                                           TVSUpdaterUpgradeLogic::totalImageBytes(),
                                           [&logic] { return logic.workerPhase(); },
                                           [&logic] { return logic.failureStatus(); }};
        const auto outcome = Cli::runUpdate(description, progress, console, true);
        // An error's sentence up to its number: what the device reported may follow.
        const auto said = [&](const Ending& ending) {
            std::string text = UpdaterMessages::format(ending.message, description.deviceName, ending.errorNumber,
                                                       description.updaterName);
            if (ending.errorNumber != 0) {
                text.resize(text.find(')'));
            }
            return out.str().find(text) != std::string::npos;
        };
        EXPECT_TRUE(said(expected)) << out.str();
        EXPECT_EQ(outcome == Cli::eOutcome::Done, said(Success));
        if (outcome == Cli::eOutcome::Done) {
            EXPECT_TRUE(runsCarriedFirmware());
        }
    }

    bool runsCarriedFirmware() const
    {
        const auto a = FirmwareImageSet::imageA();
        const auto b = FirmwareImageSet::imageB();
        return device->mode() == eStudioMode::RunTime && std::ranges::equal(device->imageA(), a)
            && std::ranges::equal(device->imageB(), b);
    }

    std::shared_ptr<TrovixStudioModel> device;
};

// Between the runs the user reads the sentence; a device that a fault took
// off the bus or hung is power-cycled, the one way to bring it back.
TEST_P(FaultMatrix, UpdateFailsHonestlyAndASecondRunRecovers)
{
    const Case& c = GetParam();
    std::string drawn;
    const auto config = c.randomPoint ? randomFault(drawn) : c.config;
    SCOPED_TRACE(drawn);
    const auto other = c.other ? plug(*c.other) : nullptr;
    device = plug(config);

    runUpdate(c.first);
    EXPECT_EQ(device->faultsStruck(), c.strikes ? 1u : 0u);

    const bool gone = device->faultsStruck() > 0 && std::ranges::any_of(config.faults, [](const Fault& f) {
        return f.kind == eFaultKind::Unplug || f.kind == eFaultKind::Hang;
    });
    device->clearFaults();
    if (gone || c.powerCycled) {
        device->replug();
    }
    clock.advance(20s);
    runUpdate(c.second);
    EXPECT_EQ(runsCarriedFirmware(), c.updatedInTheEnd);
    if (other) {
        EXPECT_TRUE(other->imageA().empty());
        EXPECT_EQ(other->mode(), eStudioMode::RunTime);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, FaultMatrix, ::testing::ValuesIn(matrix()),
                         [](const ::testing::TestParamInfo<Case>& test) { return test.param.name; });

} // namespace
