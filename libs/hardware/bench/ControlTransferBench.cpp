// Times single control transfers through the whole device layer to the
// simulated Trovix Studio: USBDevice, the driver's records, the simulated
// port and the device model. Prints the median and the spread of N transfers.
//
//   bench_control_transfer [N]      (default 10000)
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
#include <vector>

int main(int argc, char** argv)
{
    using namespace Conduit2;
    const long count = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 10000;
    if (count <= 0) {
        std::fprintf(stderr, "usage: bench_control_transfer [count]\n");
        return 2;
    }

    auto bus = std::make_shared<Sim::SimulatedBus>();
    bus->attach(std::make_shared<Sim::TrovixStudioModel>());
    UsbDriver::instance().useBus(bus);

    USBDevice device;
    USBDeviceFactory factory;
    factory.setCallbacks([&](const USBDeviceOSHandle& handle, const USBDeviceFilter&) { device.open(handle); },
                         nullptr);
    factory.scan(targetUsbFilter, false);
    if (!device.isOpen()) {
        std::fprintf(stderr, "the simulated Trovix Studio did not open\n");
        return 1;
    }

    std::vector<double> micros;
    micros.reserve(static_cast<std::size_t>(count));
    for (long i = 0; i < count; ++i) {
        std::uint8_t value[2] = {};
        ControlRequest request{0xC0, 0xB3, 0, 0x1D, 2, value, 0};
        const auto start = std::chrono::steady_clock::now();
        const std::uint32_t status = device.controlTransfer(request);
        const auto end = std::chrono::steady_clock::now();
        if (status != 0 || request.bytesTransferred != 2 || value[0] != 0x65) {
            std::fprintf(stderr, "transfer %ld failed with %u\n", i, status);
            return 1;
        }
        micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    std::ranges::sort(micros);
    const auto at = [&](double q) { return micros[static_cast<std::size_t>(q * static_cast<double>(micros.size() - 1))]; };
    std::printf("control transfers: %ld\nmedian: %.2f us\np10: %.2f us\np90: %.2f us\np99: %.2f us\nmax: %.2f us\n",
                count, at(0.5), at(0.1), at(0.9), at(0.99), micros.back());
    device.close();
    UsbDriver::instance().useBus(nullptr);
    return 0;
}
