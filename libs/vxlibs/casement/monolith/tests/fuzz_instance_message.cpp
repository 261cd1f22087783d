// Feeds arbitrary bytes to the single-instance message decoder: it must refuse
// or accept them without reading out of bounds, and what it accepts must
// encode back to the same bytes.
#include "casement/InstanceMessage.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using Casement::DETAIL::InstanceMessage;
    const auto path = InstanceMessage::decode({data, size});
    if (path && InstanceMessage::encode(*path) != std::vector<std::uint8_t>(data, data + size)) {
        std::abort();
    }
    return 0;
}
