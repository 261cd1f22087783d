#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace Basalt {
class Stream;
} // namespace Basalt

namespace Casement::DETAIL {

// A decoded picture: width x height pixels, rows without padding, in the
// layout of casement/PixelArithmetic.h.
struct tDecodedPicture {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint32_t> pixels;
    bool hasAlpha = false;
};

// Each decoder reads its format from the stream's position and gives nothing
// when the data is not in its format, is corrupt or truncated, or describes a
// picture that acceptablePictureSize() refuses. The stream is left wherever
// the decoder stopped reading. `alphaCheck` (see Picture::load) concerns PNG
// only: JPEG pictures are opaque, and TGA pictures have alpha by their pixels.
using tDecoder = std::optional<tDecodedPicture> (*)(Basalt::Stream& stream, bool alphaCheck);

std::optional<tDecodedPicture> decodePng(Basalt::Stream& stream, bool alphaCheck);
std::optional<tDecodedPicture> decodeJpeg(Basalt::Stream& stream, bool alphaCheck);
std::optional<tDecodedPicture> decodeTga(Basalt::Stream& stream, bool alphaCheck);

// The largest width and height a decoder accepts, so that a corrupt header
// cannot ask for a huge allocation.
constexpr std::int64_t MaxPictureSide = 16384;

bool acceptablePictureSize(std::int64_t width, std::int64_t height);

// The bytes left in the stream after its position (0 when it cannot tell).
std::int64_t remainingBytes(const Basalt::Stream& stream);

// True when some pixel's alpha is below 255.
bool anyTranslucentPixel(const std::vector<std::uint32_t>& pixels);

} // namespace Casement::DETAIL
