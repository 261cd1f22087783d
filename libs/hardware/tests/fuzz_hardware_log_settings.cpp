// Fuzzes the parser of the TVS_HW_LOG setting.
#include "conduit2/HardwareLog.h"
#include "conduit2/HardwareLogSettings.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto settings = Conduit2::HardwareLogSettings::parse(text)) {
        if (settings->threshold >= Conduit2::LogStreamSlots) {
            __builtin_trap();
        }
    }
    return 0;
}
