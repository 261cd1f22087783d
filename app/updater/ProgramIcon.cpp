#include "ProgramIcon.h"

#include <basalt/MemoryStorage.h>
#include <basalt/ResourceModule.h>
#include <basalt/ResourceStream.h>
#include <basalt/Stream.h>

#include <cstdlib>
#include <memory>

namespace {

constexpr std::size_t HeaderSize = 6;
constexpr std::size_t EntrySize = 16;

std::uint32_t little(const std::vector<unsigned char>& bytes, std::size_t at, int count)
{
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) {
        value = (value << 8) | bytes[at + static_cast<std::size_t>(i)];
    }
    return value;
}

std::optional<Casement::Picture> decode(const std::vector<unsigned char>& icon, std::size_t offset, std::size_t size)
{
    auto storage = std::make_shared<Basalt::MemoryStorage>();
    storage->open(icon.data() + offset, size);
    Basalt::Stream stream(storage);
    Casement::Picture picture;
    if (!picture.load(stream, true)) {
        return std::nullopt;
    }
    return picture;
}

} // namespace

std::optional<Casement::Picture> iconEntry(const std::vector<unsigned char>& icon, std::int32_t size)
{
    if (icon.size() < HeaderSize || little(icon, 2, 2) != 1) {
        return std::nullopt;
    }
    const std::size_t count = little(icon, 4, 2);
    std::optional<std::size_t> best;
    std::int32_t bestDistance = 0;
    for (std::size_t i = 0; i < count && HeaderSize + (i + 1) * EntrySize <= icon.size(); ++i) {
        const std::size_t entry = HeaderSize + i * EntrySize;
        const std::size_t length = little(icon, entry + 8, 4);
        const std::size_t offset = little(icon, entry + 12, 4);
        if (offset > icon.size() || length > icon.size() - offset) {
            continue;
        }
        const std::int32_t width = icon[entry] == 0 ? 256 : icon[entry];
        const std::int32_t distance = std::abs(width - size);
        if (!best || distance < bestDistance) {
            best = entry;
            bestDistance = distance;
        }
    }
    if (!best) {
        return std::nullopt;
    }
    return decode(icon, little(icon, *best + 12, 4), little(icon, *best + 8, 4));
}

std::optional<Casement::Picture> programIcon(std::int32_t size)
{
    Basalt::ResourceStream stream;
    std::vector<unsigned char> bytes;
    if (!stream.open(Basalt::ResourceModule::program(), std::uint16_t{1}, "ICON") || !stream.readAll(bytes)) {
        return std::nullopt;
    }
    return iconEntry(bytes, size);
}
