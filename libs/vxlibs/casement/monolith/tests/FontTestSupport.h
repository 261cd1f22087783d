#pragma once

#include <casement/Font.h>
#include <casement/Geometry.h>
#include <casement/Picture.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

namespace FontTest {

// The bytes of DejaVu Sans, read once from the test resources.
inline const Casement::Font::tBytes& dejaVuSans()
{
    static const Casement::Font::tBytes bytes = [] {
        std::ifstream file(TEST_RESOURCES_DIR "/DejaVuSans.ttf", std::ios::binary);
        return std::make_shared<const std::vector<std::uint8_t>>(std::istreambuf_iterator<char>(file),
                                                                 std::istreambuf_iterator<char>());
    }();
    return bytes;
}

inline std::shared_ptr<Casement::Font> dejaVu(std::int32_t size = 12, bool hinting = true)
{
    return Casement::Font::create(dejaVuSans(), size, hinting);
}

// A drawing target of the given size filled with one pixel value.
inline Casement::Picture canvas(std::int32_t width, std::int32_t height, std::uint32_t fill = 0xFFFFFFFF)
{
    Casement::Picture picture;
    picture.allocate(width, height);
    std::fill(picture.pixels(), picture.pixels() + width * height, fill);
    return picture;
}

} // namespace FontTest
