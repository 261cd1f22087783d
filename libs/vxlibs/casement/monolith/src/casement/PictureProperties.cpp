#include "casement/PictureProperties.h"

#include <basalt/Stream.h>

#include <array>

namespace Casement {
namespace {

constexpr std::uint32_t SerialisedVersion = 1;
constexpr std::size_t SerialisedSize = 4 + 1 + 7 * 4;

std::uint32_t readLe32(const std::uint8_t* bytes)
{
    return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
}

void writeLe32(std::uint8_t* bytes, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

} // namespace

void PictureProperties::setHasAlpha(bool hasAlpha)
{
    hasAlpha_ = hasAlpha;
    changed();
}

void PictureProperties::setHorizontalFrames(bool horizontal)
{
    orientation_ = horizontal ? Horizontal : Vertical;
    changed();
}

void PictureProperties::setOrientation(std::uint32_t orientation)
{
    orientation_ = orientation;
    changed();
}

void PictureProperties::setFrameCount(std::uint32_t count)
{
    frameCount_ = count;
    changed();
}

void PictureProperties::setVerticallyStretchable(bool stretchable)
{
    stretchFlags_ = stretchable ? stretchFlags_ | VerticallyStretchable : stretchFlags_ & ~VerticallyStretchable;
    changed();
}

void PictureProperties::setHorizontallyStretchable(bool stretchable)
{
    stretchFlags_ = stretchable ? stretchFlags_ | HorizontallyStretchable : stretchFlags_ & ~HorizontallyStretchable;
    changed();
}

void PictureProperties::setTopBorder(std::uint32_t pixels)
{
    top_ = pixels;
    changed();
}

void PictureProperties::setBottomBorder(std::uint32_t pixels)
{
    bottom_ = pixels;
    changed();
}

void PictureProperties::setLeftBorder(std::uint32_t pixels)
{
    left_ = pixels;
    changed();
}

void PictureProperties::setRightBorder(std::uint32_t pixels)
{
    right_ = pixels;
    changed();
}

bool PictureProperties::readFrom(Basalt::Stream& stream)
{
    std::array<std::uint8_t, SerialisedSize> bytes{};
    if (stream.read(bytes.data(), bytes.size()) != bytes.size()) {
        return false;
    }
    hasAlpha_ = bytes[4] != 0;
    std::uint32_t* const values[] = {&orientation_, &frameCount_, &stretchFlags_, &top_, &bottom_, &left_, &right_};
    for (std::size_t i = 0; i < std::size(values); ++i) {
        *values[i] = readLe32(bytes.data() + 5 + 4 * i);
    }
    changed();
    return true;
}

bool PictureProperties::writeTo(Basalt::Stream& stream) const
{
    std::array<std::uint8_t, SerialisedSize> bytes{};
    writeLe32(bytes.data(), SerialisedVersion);
    bytes[4] = hasAlpha_ ? 1 : 0;
    const std::uint32_t values[] = {orientation_, frameCount_, stretchFlags_, top_, bottom_, left_, right_};
    for (std::size_t i = 0; i < std::size(values); ++i) {
        writeLe32(bytes.data() + 5 + 4 * i, values[i]);
    }
    return stream.storage()->write(bytes.data(), bytes.size()) == bytes.size();
}

} // namespace Casement
