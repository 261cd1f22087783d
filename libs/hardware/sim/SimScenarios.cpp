#include "sim/SimScenarios.h"

#include <algorithm>
#include <vector>

namespace Conduit2::Sim {
namespace {

using namespace std::chrono_literals;

Scenario scenario(std::string_view name, std::string_view description, TrovixStudioModel::Config config = {})
{
    return {name, description, true, std::move(config)};
}

TrovixStudioModel::Config installed(std::uint16_t release, std::uint16_t secondaryRevision)
{
    TrovixStudioModel::Config config;
    config.installedRelease = release;
    config.secondaryRevision = secondaryRevision;
    return config;
}

std::vector<Scenario> makeScenarios()
{
    TrovixStudioModel::Config inDfuMode;
    inDfuMode.startsInDfuMode = true;
    TrovixStudioModel::Config bootFails;
    bootFails.ignoreDetach = true;
    TrovixStudioModel::Config writeFails;
    writeFails.faults = {{.kind = eFaultKind::Stall, .request = dfuDownloadBlock(5), .repeats = true}};
    TrovixStudioModel::Config writeFailsOnce;
    writeFailsOnce.faults = {{.kind = eFaultKind::Stall, .request = dfuDownloadBlock(5)}};
    TrovixStudioModel::Config slowReturn;
    slowReturn.bootDelay = 7000ms;
    return {
        scenario(DefaultScenarioName, "release 32 / 0x65: an update is offered"),
        scenario("up-to-date", "release 33 / 0x67: no update is offered", installed(33, 0x67)),
        scenario("secondary-older", "release 33 / 0x65: the secondary firmware is older", installed(33, 0x65)),
        scenario("in-dfu-mode", "found already in DFU mode, as after an interrupted update", inDfuMode),
        scenario("boot-fails", "the device ignores the detach and never enters DFU mode", bootFails),
        scenario("write-fails", "DFU block 5 stalls", writeFails),
        scenario("write-fails-once", "DFU block 5 stalls the first time only", writeFailsOnce),
        scenario("slow-return", "back in run-time mode only 7 s after the reset", slowReturn),
        {"no-device", "no device on the bus", false, {}},
    };
}

} // namespace

std::span<const Scenario> allScenarios()
{
    static const std::vector<Scenario> scenarios = makeScenarios();
    return scenarios;
}

const Scenario* findScenario(std::string_view name)
{
    const auto scenarios = allScenarios();
    const auto found = std::find_if(scenarios.begin(), scenarios.end(),
                                    [name](const Scenario& candidate) { return candidate.name == name; });
    return found == scenarios.end() ? nullptr : &*found;
}

} // namespace Conduit2::Sim
