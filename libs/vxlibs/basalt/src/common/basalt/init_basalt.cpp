#include "basalt/init_basalt.h"

#include "basalt/Assertion.h"
#include "basalt/DeviceNotifications.h"
#include "basalt/ThreadStorage.h"

namespace Basalt {
namespace {

constexpr std::uint32_t UnknownCode = fourCharCode("????");

struct LibraryState {
    bool initialized = false;
    std::string applicationName;
    std::uint32_t applicationCode = UnknownCode;
};

LibraryState& state()
{
    static LibraryState instance;
    return instance;
}

void resetState()
{
    shutdownDeviceNotifications();
    ThreadStorage::release();
    state() = LibraryState{};
}

} // namespace

bool interfaceVersionMatches(std::uint32_t required, std::uint32_t first, std::uint32_t second)
{
    return first == required && (second & 0xFFFFu) == 1 && second >= 0x000F0000u
        && second <= 0x000FFFFFu;
}

void checkInterfaceVersion(std::uint32_t first, std::uint32_t second)
{
    BASALT_ASSERT(interfaceVersionMatches(InterfaceVersion, first, second),
                  "Basalt was built for other interface version words");
}

bool initBasalt(std::uint32_t productCode, std::string_view name, std::uint32_t first,
                std::uint32_t second)
{
    if (state().initialized) {
        return true;
    }
    try {
        checkInterfaceVersion(first, second);
        state().applicationName = name;
        state().applicationCode = productCode;
        if (!ThreadStorage::allocate() || !initDeviceNotifications()) {
            resetState();
            return false;
        }
        state().initialized = true;
        return true;
    } catch (...) {
        resetState();
        return false;
    }
}

void shutdownBasalt()
{
    if (state().initialized) {
        resetState();
    }
}

bool isBasaltInitialized()
{
    return state().initialized;
}

const std::string& applicationName()
{
    return state().applicationName;
}

std::uint32_t applicationCode()
{
    return state().applicationCode;
}

} // namespace Basalt
