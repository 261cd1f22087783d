#include "casement/InstanceMessage.h"

namespace Casement::DETAIL {
namespace {

void putWord(std::vector<std::uint8_t>& bytes, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8) {
        bytes.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

std::uint32_t wordAt(std::span<const std::uint8_t> bytes, std::size_t offset)
{
    std::uint32_t value = 0;
    for (int index = 3; index >= 0; --index) {
        value = value << 8 | bytes[offset + static_cast<std::size_t>(index)];
    }
    return value;
}

} // namespace

std::vector<std::uint8_t> InstanceMessage::encode(const std::u16string& path)
{
    if (path.size() > MaxPathUnits || path.find(u'\0') != std::u16string::npos) {
        return {};
    }
    std::vector<std::uint8_t> bytes;
    putWord(bytes, Identifier);
    putWord(bytes, static_cast<std::uint32_t>(2 * path.size() + 2));
    for (const char16_t unit : path) {
        bytes.push_back(static_cast<std::uint8_t>(unit));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    bytes.push_back(0);
    bytes.push_back(0);
    return bytes;
}

std::optional<std::u16string> InstanceMessage::decode(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < HeaderSize + 2 || bytes.size() > MaxSize
        || wordAt(bytes, 0) != Identifier || wordAt(bytes, 4) != bytes.size() - HeaderSize
        || bytes.size() % 2 != 0) {
        return std::nullopt;
    }
    std::u16string path;
    for (std::size_t offset = HeaderSize; offset < bytes.size(); offset += 2) {
        path.push_back(static_cast<char16_t>(bytes[offset] | bytes[offset + 1] << 8));
    }
    if (path.back() != u'\0') {
        return std::nullopt;
    }
    path.pop_back();
    if (path.find(u'\0') != std::u16string::npos) {
        return std::nullopt;
    }
    return path;
}

} // namespace Casement::DETAIL
