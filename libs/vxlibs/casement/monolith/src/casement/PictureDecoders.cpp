#include "casement/PictureDecoders.h"

#include "casement/PixelArithmetic.h"

#include <basalt/Stream.h>

#include <algorithm>

namespace Casement::DETAIL {

bool acceptablePictureSize(std::int64_t width, std::int64_t height)
{
    return width > 0 && height > 0 && width <= MaxPictureSide && height <= MaxPictureSide;
}

std::int64_t remainingBytes(const Basalt::Stream& stream)
{
    const std::int64_t size = stream.size();
    const std::int64_t position = stream.tell();
    return size < 0 || position < 0 || position > size ? 0 : size - position;
}

bool anyTranslucentPixel(const std::vector<std::uint32_t>& pixels)
{
    return std::ranges::any_of(pixels, [](std::uint32_t pixel) { return Pixel::alpha(pixel) != 0xFF; });
}

} // namespace Casement::DETAIL
