#pragma once

#include <basalt/MemoryStorage.h>
#include <basalt/Stream.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace CasementTests {

using Bytes = std::vector<unsigned char>;

// A PNG to write: rows of raw samples in the file's own layout (packed for
// depths below 8, big-endian for 16), with an optional palette (red, green,
// blue triples) and transparency chunk.
struct tPngContent {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int colourType = 0;
    int bitDepth = 8;
    std::vector<Bytes> rows;
    Bytes palette;
    Bytes transparency;
    std::uint16_t transparentGray = 0xFFFF;
    bool interlaced = false;
};

Bytes encodePng(const tPngContent& content);

// A JPEG of `components` (1 or 3) samples per pixel, rows top-down.
Bytes encodeJpeg(int width, int height, int components, const Bytes& samples, bool progressive);

// A TGA file: the 18-byte header, `id` as the image id, an optional colour
// map of `mapEntries` 24-bit entries, then `data` as it stands.
Bytes encodeTga(std::uint8_t imageType, std::uint16_t width, std::uint16_t height, std::uint8_t depth,
                std::uint8_t descriptor, const Bytes& data, const Bytes& id = {}, std::uint16_t mapEntries = 0);

// A stream over bytes that it keeps, placed `offset` bytes into them.
class ByteStream {
public:
    explicit ByteStream(Bytes bytes, std::int64_t offset = 0);
    Basalt::Stream& stream() { return stream_; }

private:
    Bytes bytes_;
    std::shared_ptr<Basalt::MemoryStorage> storage_;
    Basalt::Stream stream_;
};

} // namespace CasementTests
