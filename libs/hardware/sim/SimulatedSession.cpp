#include "sim/SimulatedSession.h"

#include "sim/SimulatedBus.h"
#include "sim/StudioStateText.h"

#include <basalt/TextFile.h>
#include <conduit2/UsbDriver.h>

#include <fmt/format.h>

#include <iostream>
#include <memory>
#include <mutex>
#include <optional>

namespace Conduit2::Sim {
namespace {

using Basalt::eFileRead;

// Far more than the text of any device.
constexpr std::size_t LargestStateFile = 1 << 20;

// The simulated device of this run, and the file it is kept in.
struct Simulation {
    std::mutex lock;
    std::shared_ptr<TrovixStudioModel> model;
    std::string scenario;
    TrovixStudioModel::Config config;
    std::string stateFile;
};

Simulation& simulation()
{
    static Simulation current;
    return current;
}

TrovixStudioModel::Config carryingConfig(const Scenario& scenario, const CarriedImages& images)
{
    auto config = scenario.config;
    config.expectedImageA.assign(images.imageA.begin(), images.imageA.end());
    config.expectedImageB.assign(images.imageB.begin(), images.imageB.end());
    return config;
}

// Why the saved device cannot be the device of `scenario`, or nothing.
std::optional<std::string> mismatch(const SavedStudio& saved, const Scenario& scenario)
{
    if (saved.scenario != scenario.name) {
        return fmt::format("holds a simulated Trovix Studio of the scenario {}, not of {}", saved.scenario,
                           scenario.name);
    }
    const std::size_t faults = saved.state.faultsCleared ? 0 : scenario.config.faults.size();
    if (saved.state.faultPointsReached.size() != faults) {
        return fmt::format("holds {} fault counts, but the scenario {} has {} faults",
                           saved.state.faultPointsReached.size(), scenario.name, faults);
    }
    return std::nullopt;
}

// The device saved in `path` (nothing when there is no file), or false with the error sentence.
bool loadState(const std::string& path, const Scenario& scenario, const TrovixStudioModel::Config& config,
               std::optional<StudioState>& state, std::string& error)
{
    std::string text;
    std::string problem;
    switch (Basalt::readTextFile(path, LargestStateFile, text, problem)) {
    case eFileRead::Missing:
        return true;
    case eFileRead::Failed:
        error = fmt::format("the state file {} cannot be read: {}", path, problem);
        return false;
    case eFileRead::Read:
        break;
    }
    const auto saved = parseSavedStudio(text, config, problem);
    if (!saved) {
        error = fmt::format("the state file {} does not hold a simulated Trovix Studio ({})", path, problem);
        return false;
    }
    if (const auto wrong = mismatch(*saved, scenario)) {
        error = fmt::format("the state file {} {}", path, *wrong);
        return false;
    }
    state = saved->state;
    return true;
}

} // namespace

bool useSimulatedBus(const Scenario& scenario, const CarriedImages& images, const std::string& stateFile,
                     std::string& error)
{
    auto config = carryingConfig(scenario, images);
    std::optional<StudioState> state;
    if (!stateFile.empty() && !loadState(stateFile, scenario, config, state, error)) {
        return false;
    }
    auto bus = std::make_shared<SimulatedBus>();
    Simulation& current = simulation();
    std::lock_guard guard(current.lock);
    if (scenario.hasDevice) {
        current.model = state ? std::make_shared<TrovixStudioModel>(config, *state)
                              : std::make_shared<TrovixStudioModel>(config);
        bus->attach(current.model);
    }
    current.scenario = scenario.name;
    current.config = std::move(config);
    current.stateFile = stateFile;
    UsbDriver::instance().useBus(std::move(bus));
    return true;
}

bool finishSimulation()
{
    Simulation& current = simulation();
    std::lock_guard guard(current.lock);
    if (!current.model || current.stateFile.empty()) {
        return true;
    }
    const SavedStudio saved{current.scenario, current.model->state()};
    std::string problem;
    if (Basalt::replaceTextFile(current.stateFile, formatSavedStudio(saved, current.config), problem)) {
        return true;
    }
    std::cerr << fmt::format("The simulated Trovix Studio could not be saved to {}: {}.\n", current.stateFile,
                             problem);
    return false;
}

} // namespace Conduit2::Sim
