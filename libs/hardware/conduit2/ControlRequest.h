#pragma once

#include <cstdint>

namespace Conduit2 {

// One USB control transfer through the driver.
struct ControlRequest {
    std::uint8_t bmRequestType = 0;  // bit 7 direction (1 = device to host), bits 5-6 type, bits 0-1 recipient
    std::uint8_t bRequest = 0;
    std::uint16_t wValue = 0;
    std::uint16_t wIndex = 0;
    std::uint16_t wLength = 0;       // bytes in the data stage
    void* data = nullptr;            // the data stage, may be null
    std::uint32_t bytesTransferred = 0; // out: bytes received from the device
};

} // namespace Conduit2
