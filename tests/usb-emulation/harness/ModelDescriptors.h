#pragma once

#include <sim/UsbDeviceModel.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace UsbEmulation {

// What the kernel exposes in sysfs for a device it has enumerated.
struct EnumeratedDevice {
    // The device descriptor followed by every configuration descriptor, as
    // in the sysfs file `descriptors`.
    std::vector<std::uint8_t> descriptors;
    std::uint8_t configurationValue = 0;
};

// Reads the descriptors with GET_DESCRIPTOR requests, as the kernel does when
// a device is plugged. Nothing when the model does not answer them properly.
std::optional<EnumeratedDevice> enumerateModel(Conduit2::Sim::UsbDeviceModel& model);

} // namespace UsbEmulation
