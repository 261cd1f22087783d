#include "casement/Picture.h"

#include "casement/PictureDecoders.h"

#include <basalt/Stream.h>

#include <algorithm>
#include <utility>

namespace Casement {

bool Picture::load(Basalt::Stream& stream, bool alphaCheck)
{
    const std::int64_t start = stream.tell();
    if (start < 0) {
        return false;
    }
    for (const DETAIL::tDecoder decode : {DETAIL::decodePng, DETAIL::decodeJpeg, DETAIL::decodeTga}) {
        auto decoded = decode(stream, alphaCheck);
        if (decoded) {
            adopt(*decoded);
            return true;
        }
        stream.seek(start, Basalt::IStorage::FromStart);
    }
    return false;
}

void Picture::adopt(DETAIL::tDecodedPicture& decoded)
{
    width_ = decoded.width;
    height_ = decoded.height;
    pixels_ = std::move(decoded.pixels);
    origin_ = {};
    visible_ = {0, 0, width_, height_};
    fastBlend_ = false;
    partMasks_.clear();
    setHasAlpha(decoded.hasAlpha);
}

void Picture::allocate(std::int32_t width, std::int32_t height)
{
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    pixels_.assign(static_cast<std::size_t>(width_) * height_, 0);
    origin_ = {};
    visible_ = {0, 0, width_, height_};
}

std::uint32_t Picture::frames() const
{
    return std::max<std::uint32_t>(frameCount(), 1);
}

Rect Picture::frameRect(std::uint32_t frame) const
{
    // In 64 bits: a frame count above the picture's size gives empty frames.
    const std::int64_t count = frames();
    const std::int64_t index = std::min<std::int64_t>(frame, count - 1);
    if (orientation() == Horizontal) {
        const std::int64_t frameWidth = width_ / count;
        return {static_cast<std::int32_t>(index * frameWidth), 0, static_cast<std::int32_t>(frameWidth), height_};
    }
    const std::int64_t frameHeight = height_ / count;
    return {0, static_cast<std::int32_t>(index * frameHeight), width_, static_cast<std::int32_t>(frameHeight)};
}

} // namespace Casement
