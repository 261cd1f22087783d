// Times writing the carried firmware to the simulated Trovix Studio in DFU
// mode, as the update worker does (ImageB by vendor transfers, then ImageA by
// DFU download with status polling and manifestation), in virtual time, so
// that the fixed waits and the device's poll times cost nothing: what is left
// is the host's own work and the simulated device's. Prints the median of N
// runs for both images and the cost per DFU block.
//
//   bench_update_write [N]      (default 200)
#include <basalt/VirtualClock.h>
#include <conduit2/DFUDevice.h>
#include <conduit2/DeviceCatalogue.h>
#include <conduit2/USBDeviceFactory.h>
#include <conduit2/UsbDriver.h>
#include <firmware/FirmwareImageSet.h>
#include <sim/SimulatedBus.h>
#include <sim/TrovixStudioModel.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

double median(std::vector<double> values)
{
    std::ranges::sort(values);
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    using namespace Conduit2;
    const long runs = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 200;
    if (runs <= 0) {
        std::fprintf(stderr, "usage: bench_update_write [runs]\n");
        return 2;
    }
    Basalt::VirtualClock clock;
    Basalt::ScopedClock scopedClock(clock);
    const auto imageA = FirmwareImageSet::imageA();
    const auto imageB = FirmwareImageSet::imageB();
    Sim::StudioConfig config;
    config.startsInDfuMode = true;
    auto bus = std::make_shared<Sim::SimulatedBus>();
    bus->attach(std::make_shared<Sim::TrovixStudioModel>(config));
    UsbDriver::instance().useBus(bus);

    DFUDevice device;
    USBDeviceFactory factory;
    factory.setCallbacks([&](const USBDeviceOSHandle& h, const USBDeviceFilter&) { device.openAndCheckDfu(h); },
                         nullptr);
    factory.scan(targetUsbFilter, false);
    if (!device.isOpen() || device.bInterfaceProtocol() != 2) {
        std::fprintf(stderr, "the simulated Trovix Studio did not open in DFU mode\n");
        return 1;
    }

    std::vector<double> whole;
    std::vector<double> download;
    for (long i = 0; i < runs; ++i) {
        DfuStatus status;
        const auto start = std::chrono::steady_clock::now();
        const bool vendorDone = device.writeVendorImage(imageB.data(), imageB.size(), 1);
        const auto middle = std::chrono::steady_clock::now();
        if (!vendorDone || !device.download(imageA.data(), imageA.size(), status)) {
            std::fprintf(stderr, "run %ld failed (DFU status %u)\n", i, status.bStatus);
            return 1;
        }
        const auto end = std::chrono::steady_clock::now();
        whole.push_back(std::chrono::duration<double, std::micro>(end - start).count());
        download.push_back(std::chrono::duration<double, std::micro>(end - middle).count());
    }
    const std::size_t blocks = (imageA.size() + device.wTransferSize() - 1) / device.wTransferSize() + 1;
    std::printf("runs: %ld\nboth images (%zu + %zu bytes): median %.1f us\n", runs, imageA.size(), imageB.size(),
                median(whole));
    std::printf("ImageA download: median %.1f us for %zu DFU blocks of %u bytes (closing block included)\n",
                median(download), blocks, device.wTransferSize());
    std::printf("per DFU block: %.2f us\n", median(download) / static_cast<double>(blocks));
    device.close();
    UsbDriver::instance().useBus(nullptr);
    return 0;
}
