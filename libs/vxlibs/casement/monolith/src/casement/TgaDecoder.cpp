#include "casement/PictureDecoders.h"
#include "casement/PixelArithmetic.h"

#include <basalt/Stream.h>

#include <algorithm>
#include <array>
#include <span>

namespace Casement::DETAIL {
namespace {

constexpr std::size_t HeaderSize = 18;
constexpr std::uint8_t TrueColour = 2;
constexpr std::uint8_t RunLengthTrueColour = 10;
constexpr std::uint8_t TopLeftOrigin = 0x20;
// A run-length packet covers at most 128 pixels and takes at least 5 bytes.
constexpr std::int64_t PixelsPerPacket = 128;
constexpr std::int64_t SmallestPacket = 5;

struct tTgaHeader {
    std::uint8_t idLength = 0;
    std::uint8_t colourMapType = 0;
    std::uint8_t imageType = 0;
    std::uint16_t colourMapLength = 0;
    std::uint8_t colourMapEntryBits = 0;
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::uint8_t depth = 0;
    std::uint8_t descriptor = 0;
};

std::uint16_t le16(const std::uint8_t* bytes)
{
    return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
}

std::optional<tTgaHeader> readHeader(Basalt::Stream& stream)
{
    std::array<std::uint8_t, HeaderSize> bytes{};
    if (stream.read(bytes.data(), bytes.size()) != bytes.size()) {
        return std::nullopt;
    }
    return tTgaHeader{bytes[0], bytes[1], bytes[2], le16(&bytes[5]), bytes[7],
                      le16(&bytes[12]), le16(&bytes[14]), bytes[16], bytes[17]};
}

bool supported(const tTgaHeader& header)
{
    const bool trueColour = header.imageType == TrueColour &&
                            (header.depth == 16 || header.depth == 24 || header.depth == 32);
    const bool runLength = header.imageType == RunLengthTrueColour && header.depth == 32;
    return (trueColour || runLength) && header.colourMapType <= 1 &&
           acceptablePictureSize(header.width, header.height);
}

// Passes over the image id and a colour map, which true-colour pictures may
// carry but do not use.
bool skipToPixels(Basalt::Stream& stream, const tTgaHeader& header)
{
    const std::int64_t mapBytes =
        header.colourMapType == 1 ? std::int64_t{header.colourMapLength} * ((header.colourMapEntryBits + 7) / 8) : 0;
    const std::int64_t skipped = header.idLength + mapBytes;
    return skipped <= remainingBytes(stream) && stream.seek(skipped, Basalt::IStorage::FromCurrent);
}

// 5-5-5 colour; the value 0 is a fully transparent pixel.
std::uint32_t fromRgb555(std::uint16_t value)
{
    if (value == 0) {
        return 0;
    }
    const auto expand = [](std::uint32_t five) { return (five << 3) | (five >> 2); };
    return Pixel::make(expand(value & 0x1F), expand((value >> 5) & 0x1F), expand((value >> 10) & 0x1F), 0xFF);
}

std::uint32_t readPixel(const std::uint8_t* bytes, std::uint8_t depth)
{
    switch (depth) {
    case 16:
        return fromRgb555(le16(bytes));
    case 24:
        return Pixel::make(bytes[0], bytes[1], bytes[2], 0xFF);
    default:
        return Pixel::make(bytes[0], bytes[1], bytes[2], bytes[3]);
    }
}

// Whether the rest of the stream can hold the pixels at all, checked before
// the picture is allocated.
bool enoughData(const tTgaHeader& header, std::int64_t available)
{
    const std::int64_t count = std::int64_t{header.width} * header.height;
    if (header.imageType == TrueColour) {
        return count * (header.depth / 8) <= available;
    }
    return (count + PixelsPerPacket - 1) / PixelsPerPacket * SmallestPacket <= available;
}

bool readRawPixels(Basalt::Stream& stream, std::uint8_t depth, std::vector<std::uint32_t>& pixels)
{
    const std::size_t pixelBytes = depth / 8;
    std::vector<std::uint8_t> bytes(pixels.size() * pixelBytes);
    if (stream.read(bytes.data(), bytes.size()) != bytes.size()) {
        return false;
    }
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = readPixel(&bytes[i * pixelBytes], depth);
    }
    return true;
}

// Run-length packets of 32-bit pixels: a count byte (bit 7: one pixel
// repeated, else that many pixels stored), packets may cross rows but not
// run past the last pixel.
bool unpackRuns(std::span<const std::uint8_t> data, std::vector<std::uint32_t>& pixels)
{
    std::size_t at = 0;
    for (std::size_t done = 0; done < pixels.size();) {
        if (at >= data.size()) {
            return false;
        }
        const bool repeated = (data[at] & 0x80) != 0;
        const std::size_t count = (data[at++] & 0x7Fu) + 1;
        const std::size_t stored = repeated ? 4 : 4 * count;
        if (done + count > pixels.size() || data.size() - at < stored) {
            return false;
        }
        for (std::size_t i = 0; i < count; ++i) {
            pixels[done + i] = readPixel(&data[at + (repeated ? 0 : 4 * i)], 32);
        }
        at += stored;
        done += count;
    }
    return true;
}

bool readRunLengthPixels(Basalt::Stream& stream, std::vector<std::uint32_t>& pixels)
{
    const std::int64_t count = static_cast<std::int64_t>(pixels.size());
    const std::int64_t available = remainingBytes(stream);
    const std::int64_t largest = count * 4 + (count + PixelsPerPacket - 1) / PixelsPerPacket;
    std::vector<std::uint8_t> data(static_cast<std::size_t>(std::min(available, largest)));
    return stream.read(data.data(), data.size()) == data.size() && unpackRuns(data, pixels);
}

void flipRows(tDecodedPicture& picture)
{
    for (std::int32_t top = 0, bottom = picture.height - 1; top < bottom; ++top, --bottom) {
        const auto topRow = picture.pixels.begin() + static_cast<std::ptrdiff_t>(top) * picture.width;
        const auto bottomRow = picture.pixels.begin() + static_cast<std::ptrdiff_t>(bottom) * picture.width;
        std::swap_ranges(topRow, topRow + picture.width, bottomRow);
    }
}

} // namespace

std::optional<tDecodedPicture> decodeTga(Basalt::Stream& stream, bool)
{
    const auto header = readHeader(stream);
    if (!header || !supported(*header) || !skipToPixels(stream, *header) ||
        !enoughData(*header, remainingBytes(stream))) {
        return std::nullopt;
    }
    tDecodedPicture picture{header->width, header->height, {}, false};
    picture.pixels.resize(static_cast<std::size_t>(picture.width) * picture.height);
    const bool read = header->imageType == TrueColour ? readRawPixels(stream, header->depth, picture.pixels)
                                                      : readRunLengthPixels(stream, picture.pixels);
    if (!read) {
        return std::nullopt;
    }
    if ((header->descriptor & TopLeftOrigin) == 0) {
        flipRows(picture);
    }
    picture.hasAlpha = header->depth != 24 && anyTranslucentPixel(picture.pixels);
    return picture;
}

} // namespace Casement::DETAIL
