// Downloads the carried ImageA into the first Trovix Studio found in DFU mode
// on the real USB bus (libusb), as the update worker does, and prints the
// wall time of the download alone (no reboot, no fixed waits). Meant to run
// against an emulated device (see the USB emulation tests in
// docs/command-line.md), where it is compared with dfu-util writing the same
// image.
//
//   bench_dfu_download
#include <conduit2/DFUDevice.h>
#include <conduit2/DeviceCatalogue.h>
#include <conduit2/USBDeviceFactory.h>
#include <firmware/FirmwareImageSet.h>

#include <chrono>
#include <cstdio>

int main()
{
    using namespace Conduit2;
    DFUDevice device;
    USBDeviceFactory factory;
    factory.setCallbacks(
        [&](const USBDeviceOSHandle& handle, const USBDeviceFilter&) {
            if (!device.isOpen() || device.bInterfaceProtocol() != 2) {
                device.openAndCheckDfu(handle);
            }
        },
        nullptr);
    factory.scan(targetUsbFilter, false);
    if (!device.isOpen() || device.bInterfaceProtocol() != 2) {
        std::fprintf(stderr, "no Trovix Studio in DFU mode was found\n");
        return 3;
    }
    const auto image = FirmwareImageSet::imageA();
    DfuStatus status;
    const auto start = std::chrono::steady_clock::now();
    const bool done = device.download(image.data(), image.size(), status);
    const auto end = std::chrono::steady_clock::now();
    std::printf("ImageA (%zu bytes, transfer size %u): %s in %.1f ms\n", image.size(), device.wTransferSize(),
                done ? "written" : "FAILED", std::chrono::duration<double, std::milli>(end - start).count());
    return done ? 0 : 1;
}
