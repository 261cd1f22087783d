#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace Casement::DETAIL {

// The message a second copy of the program sends to the running one: the
// 32-bit identifier 10003, the 32-bit byte length of the text, then the path
// as zero-terminated UTF-16 (length = 2 x characters + 2), all little-endian.
// An empty path (only the terminator) asks the running copy to come to the
// front without handing anything over.
class InstanceMessage {
public:
    static constexpr std::uint32_t Identifier = 10003;
    static constexpr std::size_t HeaderSize = 8;
    // Longest accepted path, in UTF-16 units.
    static constexpr std::size_t MaxPathUnits = 4096;
    static constexpr std::size_t MaxSize = HeaderSize + 2 * (MaxPathUnits + 1);

    // Empty when the path is too long or holds a zero.
    static std::vector<std::uint8_t> encode(const std::u16string& path);
    // The path of a well-formed message; nothing for any other bytes.
    static std::optional<std::u16string> decode(std::span<const std::uint8_t> bytes);
};

} // namespace Casement::DETAIL
