// Times scans for the Trovix Studio's interface on a simulated bus of 10 and
// of 300 simulated Trovix Studios: the scan alone (each accepted device
// counted by the arrival callback) and the scan as the updater runs it, whose
// arrival callback opens each device it is offered. Prints the median and the
// best of N scans of each kind.
//
//   bench_device_scan [N]      (default 50)
#include <conduit2/DeviceCatalogue.h>
#include <conduit2/USBDevice.h>
#include <conduit2/USBDeviceFactory.h>
#include <conduit2/UsbDriver.h>
#include <sim/SimulatedBus.h>
#include <sim/TrovixStudioModel.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

using namespace Conduit2;

// The median and the best of `runs` scans, in microseconds; false when a
// scan did not report every device.
bool timeScans(const char* what, std::size_t devices, long runs, bool openEach)
{
    std::vector<double> micros;
    for (long i = 0; i < runs; ++i) {
        std::size_t reported = 0;
        USBDeviceFactory factory;
        factory.setCallbacks(
            [&](const USBDeviceOSHandle& handle, const USBDeviceFilter&) {
                USBDevice device;
                reported += !openEach || device.open(handle) ? 1 : 0;
            },
            nullptr);
        const auto start = std::chrono::steady_clock::now();
        factory.scan(targetUsbFilter, false);
        micros.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
        if (reported != devices) {
            std::fprintf(stderr, "a scan of %zu devices reported %zu\n", devices, reported);
            return false;
        }
    }
    std::ranges::sort(micros);
    std::printf("%zu devices, %s: median %.1f us, best %.1f us\n", devices, what, micros[micros.size() / 2],
                micros.front());
    return true;
}

bool timeBus(std::size_t devices, long runs)
{
    auto bus = std::make_shared<Sim::SimulatedBus>();
    for (std::size_t i = 0; i < devices; ++i) {
        bus->attach(std::make_shared<Sim::TrovixStudioModel>());
    }
    UsbDriver::instance().useBus(bus);
    const bool timed = timeScans("scan", devices, runs, false)
                    && timeScans("scan opening each device", devices, runs, true);
    UsbDriver::instance().useBus(nullptr);
    return timed;
}

} // namespace

int main(int argc, char** argv)
{
    const long runs = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 50;
    if (runs <= 0) {
        std::fprintf(stderr, "usage: bench_device_scan [runs]\n");
        return 2;
    }
    std::printf("%ld runs\n", runs);
    return timeBus(10, runs) && timeBus(300, runs) ? 0 : 1;
}
