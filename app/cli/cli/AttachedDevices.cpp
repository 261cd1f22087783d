#include "cli/AttachedDevices.h"

#include <conduit2/DFUDevice.h>
#include <conduit2/DeviceCatalogue.h>
#include <conduit2/USBDeviceFactory.h>

#include <fmt/format.h>

#include <algorithm>

namespace Cli {
namespace {

constexpr std::uint8_t DfuModeProtocol = 2;
constexpr std::uint8_t SecondaryRevisionSelector = 1;

// Opens the device on its own channel, as the scan of the upgrade logic
// probes it, and reads its identity and revisions; the channel closes on return.
std::optional<AttachedDevice> probe(const Conduit2::USBDeviceOSHandle& handle)
{
    Conduit2::DFUDevice device;
    if (!device.openAndCheckDfu(handle)) {
        return std::nullopt;
    }
    AttachedDevice found;
    found.serial = device.info().serialNumber;
    found.updateMode = device.bInterfaceProtocol() == DfuModeProtocol;
    found.release = device.info().bcdDevice;
    if (std::uint32_t value = 0; device.readVendorValue(SecondaryRevisionSelector, value)) {
        found.secondaryRevision = static_cast<std::uint16_t>(value);
    }
    return found;
}

} // namespace

std::optional<std::vector<AttachedDevice>> scanAttachedDevices(std::string& deniedNode)
{
    std::vector<AttachedDevice> devices;
    Conduit2::USBDeviceFactory factory;
    factory.setCallbacks(
        [&devices](const Conduit2::USBDeviceOSHandle& handle, const Conduit2::USBDeviceFilter&) {
            if (auto device = probe(handle)) {
                devices.push_back(std::move(*device));
            }
        },
        nullptr);
    const bool listed = factory.scan(Conduit2::targetUsbFilter, false);
    const auto denied = factory.deniedNodes();
    deniedNode = denied.empty() ? std::string() : denied.front();
    factory.reset();
    if (!listed) {
        return std::nullopt;
    }
    return devices;
}

std::string firmwareText(const AttachedDevice& device)
{
    if (!device.secondaryRevision) {
        return fmt::format("{}", device.release);
    }
    return fmt::format("{} / 0x{:X}", device.release, *device.secondaryRevision);
}

std::string deviceTable(std::span<const AttachedDevice> devices)
{
    constexpr std::string_view SerialHeader = "SERIAL NUMBER";
    std::size_t serialWidth = SerialHeader.size();
    for (const auto& device : devices) {
        serialWidth = std::max(serialWidth, device.serial.size());
    }
    std::string table = fmt::format("{:<{}}  {:<8}  {}\n", SerialHeader, serialWidth, "MODE", "FIRMWARE");
    for (const auto& device : devices) {
        table += fmt::format("{:<{}}  {:<8}  {}\n", device.serial, serialWidth,
                             device.updateMode ? "update" : "run-time", firmwareText(device));
    }
    return table;
}

} // namespace Cli
