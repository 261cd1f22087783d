#include "sim/ChunkedImage.h"

namespace Conduit2::Sim {

bool ChunkedImage::write(std::uint16_t chunk, std::span<const std::uint8_t> data)
{
    const bool inOrder = chunk == 0 || (!complete_ && chunk == nextChunk_);
    if (!inOrder || data.size() > ChunkSize || chunk * ChunkSize + data.size() > room_) {
        return false;
    }
    if (chunk == 0) {
        bytes_.clear();
    }
    bytes_.insert(bytes_.end(), data.begin(), data.end());
    complete_ = data.size() < ChunkSize;
    nextChunk_ = static_cast<std::uint16_t>(chunk + 1);
    return true;
}

} // namespace Conduit2::Sim
