#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

namespace Conduit2::Sim {

// A flash region written with numbered chunks of up to 256 bytes, in order
// from chunk 0 (which erases the region). A chunk shorter than 256 bytes, also
// an empty one, ends the image.
class ChunkedImage {
public:
    static constexpr std::size_t ChunkSize = 256;

    // What the region holds and where its writing stands.
    struct Memory {
        std::vector<std::uint8_t> bytes;
        std::uint16_t nextChunk = 0;
        bool complete = false;

        bool operator==(const Memory&) const = default;
    };

    explicit ChunkedImage(std::size_t room) : room_(room) {}

    // False (the device stalls) for a chunk out of order, too long, or beyond the room.
    bool write(std::uint16_t chunk, std::span<const std::uint8_t> data);

    const std::vector<std::uint8_t>& bytes() const { return memory_.bytes; }
    // The image was ended since it was last erased.
    bool isComplete() const { return memory_.complete; }

    const Memory& memory() const { return memory_; }
    void restore(Memory saved) { memory_ = std::move(saved); }

private:
    std::size_t room_;
    Memory memory_;
};

} // namespace Conduit2::Sim
