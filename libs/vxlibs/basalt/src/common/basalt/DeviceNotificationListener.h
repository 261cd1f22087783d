#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace Basalt {

struct Guid {
    std::array<std::uint8_t, 16> bytes{};
    bool operator==(const Guid&) const = default;
};

// Events of a device-change message that reach listeners.
constexpr std::uint32_t DeviceArrival = 0x8000;
constexpr std::uint32_t DeviceRemoveComplete = 0x8004;

// What arrived or went away.
struct DeviceBroadcast {
    enum eType : std::uint32_t { Volume = 2, DeviceInterface = 5 };

    std::uint32_t type = 0;
    std::uint32_t unitMask = 0;  // Volume: bit i set for drive 'A' + i
    Guid interfaceClass;         // DeviceInterface: the interface class
    std::u16string deviceName;   // DeviceInterface: the device path
};

// Receives device-change notifications on the thread that started them.
// A listener's owner removes it from the registry before destroying it.
class DeviceNotificationListener {
public:
    virtual void onDeviceChange(bool removed) = 0;
    virtual void onInterfaceChange(bool removed, const DeviceBroadcast& broadcast) = 0;
    virtual void onVolumeChange(bool removed, char driveLetter) = 0;

protected:
    ~DeviceNotificationListener() = default;
};

} // namespace Basalt
