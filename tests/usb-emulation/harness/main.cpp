// Runs a command (the updater, dfu-util) against a simulated Trovix Studio
// that it reaches through the real libusb and usbfs, emulated by umockdev.
// Returns the command's exit status, or 1 when the flash does not hold what
// it was asked to check.

#include "EmulatedBus.h"
#include "HarnessOptions.h"
#include "Processes.h"

#include <firmware/FirmwareImageSet.h>
#include <sim/SimScenarios.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

namespace {

using Conduit2::Sim::TrovixStudioModel;
using UsbEmulation::HarnessOptions;

constexpr const char* Usage =
    "usage: usb-emulation-harness [--scenario=NAME] [--unplug-at-block=N] [--unopenable]\n"
    "                             [--plug-when=FILE] [--busy-ms=N] [--slow-image-b-ms=N]\n"
    "                             [--expect-flashed | --expect-image-a]\n"
    "                             -- COMMAND [ARGUMENT...] [--then COMMAND [ARGUMENT...]]...\n";

bool holds(const std::vector<std::uint8_t>& flash, std::span<const std::uint8_t> image, const char* name)
{
    if (std::equal(flash.begin(), flash.end(), image.begin(), image.end())) {
        return true;
    }
    std::fprintf(stderr, "usb-emulation: the flash does not hold image %s (%zu bytes written of %zu)\n", name,
                 flash.size(), image.size());
    return false;
}

bool flashAsExpected(const TrovixStudioModel& model, HarnessOptions::eFlashCheck check)
{
    if (check == HarnessOptions::NoCheck) {
        return true;
    }
    const bool imageA = holds(model.imageA(), FirmwareImageSet::imageA(), "A");
    return check == HarnessOptions::ImageAOnly ? imageA : holds(model.imageB(), FirmwareImageSet::imageB(), "B") && imageA;
}

// A device that has left the bus for good (pulled out during a command) is
// plugged back in, as a user would, and the harness waits until it is back.
bool replugIfGone(TrovixStudioModel& model, const UsbEmulation::EmulatedBus& bus)
{
    using namespace std::chrono_literals;
    if (model.mode() == Conduit2::Sim::eStudioMode::Off) {
        std::fprintf(stderr, "usb-emulation: plugging the device back in\n");
        model.replug();
    }
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (!bus.plugged()) {
        if (std::chrono::steady_clock::now() > deadline) {
            std::fprintf(stderr, "usb-emulation: the device did not come back\n");
            return false;
        }
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

// The exit status of the last command, each run after the device of the
// previous one is back on the bus.
int runEach(const HarnessOptions& options, TrovixStudioModel& model, const UsbEmulation::EmulatedBus& bus)
{
    int status = 0;
    for (std::size_t i = 0; i < options.commands.size(); ++i) {
        if (i > 0 && !replugIfGone(model, bus)) {
            return 1;
        }
        status = UsbEmulation::runCommand(options.commands[i], options.unopenable);
        std::fprintf(stderr, "usb-emulation: command %zu exited with %d\n", i + 1, status);
    }
    return status;
}

// Plugs the device in once the file exists, or when the commands have ended
// (`ended` is set) without it.
void plugWhenFileExists(const std::string& file, const std::atomic<bool>& ended, UsbEmulation::EmulatedBus& bus)
{
    using namespace std::chrono_literals;
    while (!ended && !std::filesystem::exists(file)) {
        std::this_thread::sleep_for(20ms);
    }
    if (!ended) {
        std::fprintf(stderr, "usb-emulation: plugging the device in\n");
        bus.plug();
    }
}

// Runs the commands one after the other; the exit status of the last one.
int runCommands(const HarnessOptions& options, TrovixStudioModel& model, UsbEmulation::EmulatedBus& bus)
{
    std::atomic<bool> ended = false;
    std::jthread plugger;
    if (options.plugWhen.empty()) {
        bus.plug();
    } else {
        plugger = std::jthread([&] { plugWhenFileExists(options.plugWhen, ended, bus); });
    }
    const int status = runEach(options, model, bus);
    ended = true;
    return status;
}

int runAgainstModel(const HarnessOptions& options, TrovixStudioModel::Config config)
{
    const auto imageA = FirmwareImageSet::imageA();
    const auto imageB = FirmwareImageSet::imageB();
    config.expectedImageA.assign(imageA.begin(), imageA.end());
    config.expectedImageB.assign(imageB.begin(), imageB.end());
    if (options.unplugAtBlock) {
        config.faults.push_back({.kind = Conduit2::Sim::eFaultKind::Unplug,
                                 .request = Conduit2::Sim::dfuDownloadBlock(*options.unplugAtBlock)});
    }
    if (options.busyMs) {
        config.busyPollTimeoutMs = *options.busyMs;
    }
    if (options.slowImageBMs) {
        config.imageBChunkTime = std::chrono::milliseconds(*options.slowImageBMs);
    }
    const auto model = std::make_shared<TrovixStudioModel>(std::move(config));

    int status = 0;
    {
        UsbEmulation::EmulatedBus bus(model, options.unopenable);
        model->attach(&bus);
        const auto start = std::chrono::steady_clock::now();
        status = runCommands(options, *model, bus);
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        model->attach(nullptr);
        std::fprintf(stderr, "usb-emulation: %zu control transfers in %.1f s\n", bus.controlTransfers(),
                     elapsed.count());
    }
    return flashAsExpected(*model, options.flashCheck) ? status : 1;
}

} // namespace

int main(int argc, char** argv)
{
    std::string error;
    const auto options = UsbEmulation::parseHarnessOptions({argv + 1, argv + argc}, error);
    if (!options) {
        std::fprintf(stderr, "usb-emulation-harness: %s\n%s", error.c_str(), Usage);
        return 2;
    }
    const auto* scenario = Conduit2::Sim::findScenario(options->scenario);
    if (!scenario || !scenario->hasDevice) {
        std::fprintf(stderr, "usb-emulation-harness: no scenario with a device is called '%s'\n",
                     options->scenario.c_str());
        return 2;
    }
    if (!UsbEmulation::ensurePreload(argv)) {
        return 1;
    }
    return runAgainstModel(*options, scenario->config);
}
