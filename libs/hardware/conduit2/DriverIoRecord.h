#pragma once

#include "conduit2/UsbPort.h"

#include <basalt/Event.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace Conduit2 {

class DriverHandle;

// The overlapped-I/O block of one requesting thread: the event that the
// driver sets when a pending request completes, the request's result, and the
// transport slot and buffer the driver reuses for that thread's requests.
struct DriverIoRecord {
    Basalt::Event event;
    std::uint32_t status = 0;
    std::size_t bytes = 0;

    // Kept by the driver between requests.
    std::unique_ptr<PortTransfer> transfer;
    const DriverHandle* transferOwner = nullptr;
    std::vector<std::uint8_t> buffer;
};

} // namespace Conduit2
