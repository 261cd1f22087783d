// Fuzzes the text of a saved simulated Trovix Studio: what it reads must be
// written back as the same device, and a device restored from it must answer.
#include "sim/StudioStateText.h"
#include "sim/TrovixStudioModel.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

using namespace Conduit2::Sim;

// Small expected images, so that "expected N" reaches their ends; one fault to count.
StudioConfig fuzzConfig()
{
    StudioConfig config;
    config.expectedImageA.assign(64, 0xA5);
    config.expectedImageB.assign(300, 0x5A);
    config.faults = {{.kind = eFaultKind::Stall, .request = dfuDownloadBlock(1)}};
    return config;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const StudioConfig config = fuzzConfig();
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string error;
    const auto saved = parseSavedStudio(text, config, error);
    if (!saved) {
        if (error.empty()) {
            __builtin_trap();
        }
        return 0;
    }
    const auto again = parseSavedStudio(formatSavedStudio(*saved, config), config, error);
    if (!again || !(*again == *saved)) {
        __builtin_trap();
    }
    TrovixStudioModel model(config, saved->state);
    model.control({0x80, 6, 0x0100, 0, 18}, {});
    model.control({0xA1, DfuGetState, 0, 0, 1}, {});
    return 0;
}
