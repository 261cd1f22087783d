#pragma once

#include <cstdint>

namespace Casement {

// Receives the framework's numbered events: window events (1000 and up, and
// 1000000 and up), tick events from the event timer manager, commands posted
// to a window. The payload's type is fixed by the code.
class EventHandler {
public:
    virtual ~EventHandler() = default;

    // True when the event was consumed; false lets the default handling run.
    virtual bool handleEvent(std::uint32_t code, void* payload, bool flag) = 0;
};

} // namespace Casement
