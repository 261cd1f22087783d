// Fuzzes the parsers of what devices send: device, configuration (with the
// DFU functional descriptor) and string descriptors.
#include "conduit2/UsbDescriptors.h"

#include <array>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
    Conduit2::parseDeviceDescriptor(bytes);
    if (const auto interfaces = Conduit2::parseConfiguration(bytes)) {
        const Conduit2::UsbBusDevice device{"fuzz", 0, 0, 0, *interfaces};
        if (const auto* dfu = Conduit2::findDfuInterface(device)) {
            Conduit2::findDfuFunctional(dfu->extra);
        }
    }
    std::array<std::uint8_t, 258> buffer{};
    std::copy_n(data, std::min(size, buffer.size()), buffer.begin());
    Conduit2::decodeStringDescriptor(buffer);
    return 0;
}
