// Fuzzes loading a font from untrusted bytes (a skin folder may hold any
// file as a font), then measuring and drawing text with it at scales 1 and 2.
#include <casement/Font.h>
#include <casement/Picture.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    constexpr std::string_view Text = "TVS?a\xC2\xA9 3\n\xE2\x82\xAC" "A\xF0\x9D\x84\x9E";
    auto bytes = std::make_shared<const std::vector<std::uint8_t>>(data, data + size);
    const auto font = Casement::Font::create(bytes, size % 2 == 0 ? 13 : 40, size % 3 != 0);
    if (!font) {
        return 0;
    }
    static Casement::Picture target = [] {
        Casement::Picture picture;
        picture.allocate(64, 48);
        return picture;
    }();
    for (const float scale : {1.0f, 2.0f}) {
        font->setScale(scale);
        const std::int32_t width = font->textWidth(Text);
        if (width < 0 || font->lineHeight() < 0 || font->alignOffset(Text, Casement::Font::Right, 30) < 0) {
            __builtin_trap();
        }
        font->drawText(target, {-3, -2, 70, 52}, Text, 0xFF204060, Casement::Font::Centre, 1);
    }
    return 0;
}
