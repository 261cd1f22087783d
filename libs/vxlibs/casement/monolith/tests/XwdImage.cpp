#include "XwdImage.h"

#include <array>
#include <bit>
#include <fstream>
#include <iterator>

namespace {

// The header is 25 big-endian 32-bit fields, then the window name.
enum eField {
    HeaderSize = 0, Format = 2, Width = 4, Height = 5, ByteOrder = 7, BitsPerPixel = 11, BytesPerLine = 12,
    RedMask = 14, GreenMask = 15, BlueMask = 16, ColourCount = 19, FieldCount = 25
};
constexpr std::uint32_t zPixmap = 2;
constexpr std::size_t colourEntrySize = 12;

std::uint32_t readWord(const std::uint8_t* bytes, bool bigEndian)
{
    return bigEndian ? (std::uint32_t{bytes[0]} << 24) | (bytes[1] << 16) | (bytes[2] << 8) | bytes[3]
                     : (std::uint32_t{bytes[3]} << 24) | (bytes[2] << 16) | (bytes[1] << 8) | bytes[0];
}

std::uint32_t channel(std::uint32_t pixel, std::uint32_t mask)
{
    return mask == 0 ? 0 : ((pixel & mask) >> std::countr_zero(mask)) & 0xFF;
}

} // namespace

std::optional<tXwdImage> readXwd(const std::vector<std::uint8_t>& data)
{
    if (data.size() < FieldCount * 4) {
        return std::nullopt;
    }
    std::array<std::uint32_t, FieldCount> header{};
    for (std::size_t i = 0; i < header.size(); ++i) {
        header[i] = readWord(&data[i * 4], true);
    }
    const std::uint64_t start = std::uint64_t{header[HeaderSize]} + std::uint64_t{header[ColourCount]} * colourEntrySize;
    const std::uint64_t stride = header[BytesPerLine];
    if (header[Format] != zPixmap || header[BitsPerPixel] != 32 || header[Width] > 32768 || header[Height] > 32768 ||
        stride < std::uint64_t{header[Width]} * 4 || start + stride * header[Height] > data.size()) {
        return std::nullopt;
    }
    tXwdImage image;
    image.width = static_cast<std::int32_t>(header[Width]);
    image.height = static_cast<std::int32_t>(header[Height]);
    image.pixels.reserve(static_cast<std::size_t>(image.width) * image.height);
    for (std::uint64_t y = 0; y < header[Height]; ++y) {
        for (std::uint64_t x = 0; x < header[Width]; ++x) {
            const std::uint32_t pixel = readWord(&data[start + y * stride + x * 4], header[ByteOrder] == 1);
            image.pixels.push_back((channel(pixel, header[RedMask]) << 16) | (channel(pixel, header[GreenMask]) << 8) |
                                   channel(pixel, header[BlueMask]));
        }
    }
    return image;
}

std::optional<tXwdImage> readXwdFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    return readXwd(std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file), {}));
}
