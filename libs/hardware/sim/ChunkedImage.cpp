#include "sim/ChunkedImage.h"

namespace Conduit2::Sim {

bool ChunkedImage::write(std::uint16_t chunk, std::span<const std::uint8_t> data)
{
    const bool inOrder = chunk == 0 || (!memory_.complete && chunk == memory_.nextChunk);
    if (!inOrder || data.size() > ChunkSize || chunk * ChunkSize + data.size() > room_) {
        return false;
    }
    if (chunk == 0) {
        memory_.bytes.clear();
    }
    memory_.bytes.insert(memory_.bytes.end(), data.begin(), data.end());
    memory_.complete = data.size() < ChunkSize;
    memory_.nextChunk = static_cast<std::uint16_t>(chunk + 1);
    return true;
}

} // namespace Conduit2::Sim
