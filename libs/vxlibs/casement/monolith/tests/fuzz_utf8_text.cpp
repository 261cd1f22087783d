// Fuzzes the UTF-8 decoder, and measuring and drawing the same bytes as text
// with DejaVu Sans.
#include <casement/Font.h>
#include <casement/Picture.h>
#include <casement/Utf8Decoder.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Casement::Utf8Decoder;

std::string encode(char32_t codePoint)
{
    if (codePoint < 0x80) {
        return {static_cast<char>(codePoint)};
    }
    const int continuations = codePoint < 0x800 ? 1 : codePoint < 0x10000 ? 2 : 3;
    const unsigned lead[] = {0, 0xC0, 0xE0, 0xF0};
    std::string bytes(1, static_cast<char>(lead[continuations] | (codePoint >> (6 * continuations))));
    for (int i = continuations - 1; i >= 0; --i) {
        bytes += static_cast<char>(0x80 | ((codePoint >> (6 * i)) & 0x3F));
    }
    return bytes;
}

// Every decoded code point is a Unicode scalar value whose shortest encoding
// is the bytes read; an invalid sequence stops the decoder where it is.
void checkDecoder(std::string_view bytes)
{
    Utf8Decoder decoder(bytes);
    for (;;) {
        const std::size_t start = decoder.position();
        const auto result = decoder.next();
        if (result.status == Utf8Decoder::End) {
            if (start != bytes.size()) {
                __builtin_trap();
            }
            return;
        }
        if (result.status == Utf8Decoder::Invalid) {
            if (decoder.position() != start || decoder.next().status != Utf8Decoder::Invalid || result.error().empty()) {
                __builtin_trap();
            }
            return;
        }
        const char32_t codePoint = result.codePoint;
        if (codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF) ||
            bytes.substr(start, decoder.position() - start) != encode(codePoint)) {
            __builtin_trap();
        }
    }
}

std::shared_ptr<Casement::Font> loadFont()
{
    std::ifstream file(TEST_RESOURCES_DIR "/DejaVuSans.ttf", std::ios::binary);
    auto bytes = std::make_shared<const std::vector<std::uint8_t>>(std::istreambuf_iterator<char>(file),
                                                                    std::istreambuf_iterator<char>());
    auto font = Casement::Font::create(std::move(bytes), 12, true);
    if (!font) {
        __builtin_trap();
    }
    return font;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    checkDecoder(bytes);

    static const std::shared_ptr<Casement::Font> font = loadFont();
    static Casement::Picture target = [] {
        Casement::Picture picture;
        picture.allocate(48, 32);
        return picture;
    }();
    const std::uint32_t alignments[] = {0, 1, 16, 256, 4096, 1 | 16, 4096 | 256, 1 | 256, 4096 | 16};
    const std::uint32_t alignment = size > 0 ? alignments[data[0] % std::size(alignments)] : 0;
    const std::int32_t width = font->width(bytes.data(), bytes.size());
    if (width < 0 || font->textWidth(bytes) < width || font->alignOffset(bytes, alignment, 40) < 0) {
        __builtin_trap();
    }
    font->drawText(target, {-4, -4, 56, 40}, bytes, 0xFF204060, alignment, size > 1 ? data[1] % 8 - 4 : 0);
    return 0;
}
