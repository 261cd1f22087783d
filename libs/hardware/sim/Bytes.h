#pragma once

#include "sim/UsbDeviceModel.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace Conduit2::Sim::DETAIL {

inline void appendLe16(std::vector<std::uint8_t>& out, std::uint16_t value)
{
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

// An IN answer as a device sends it: at most the wLength bytes the host asked for.
inline ControlReply inAnswer(std::vector<std::uint8_t> bytes, std::uint16_t wLength)
{
    bytes.resize(std::min<std::size_t>(bytes.size(), wLength));
    return ControlReply::ack(std::move(bytes));
}

} // namespace Conduit2::Sim::DETAIL
