#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace Conduit2::Sim {

// A flash region written with numbered chunks of up to 256 bytes, in order
// from chunk 0 (which erases the region). A chunk shorter than 256 bytes, also
// an empty one, ends the image.
class ChunkedImage {
public:
    static constexpr std::size_t ChunkSize = 256;

    explicit ChunkedImage(std::size_t room) : room_(room) {}

    // False (the device stalls) for a chunk out of order, too long, or beyond the room.
    bool write(std::uint16_t chunk, std::span<const std::uint8_t> data);

    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    // The image was ended since it was last erased.
    bool isComplete() const { return complete_; }

private:
    std::size_t room_;
    std::vector<std::uint8_t> bytes_;
    std::uint16_t nextChunk_ = 0;
    bool complete_ = false;
};

} // namespace Conduit2::Sim
