#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

struct FT_FaceRec_;

namespace Casement {

class FontEngine;

namespace DETAIL {

// One FreeType face of a font at one pixel size, with its line metrics in
// device pixels and the glyphs rendered so far. It keeps the font data and
// the engine alive for as long as FreeType may read them.
class FontFace {
public:
    using tBytes = std::shared_ptr<const std::vector<std::uint8_t>>;

    // Larger sizes are refused: a glyph bitmap grows with the square of the
    // size, and no text of a user interface comes near this.
    static constexpr std::int32_t MaxPixelSize = 2048;

    // A rendered glyph: its advance and its 8-bit coverage bitmap, placed by
    // bearings from the pen position on the baseline.
    struct tGlyph {
        std::int32_t advance = 0;            // in 1/64 pixel
        std::int32_t left = 0;               // pen to the bitmap's left column
        std::int32_t top = 0;                // baseline up to the bitmap's top row
        std::int32_t width = 0;
        std::int32_t height = 0;
        std::vector<std::uint8_t> coverage;  // width x height, top row first

        // The advance rounded to the nearest whole pixel.
        std::int32_t advancePixels() const { return (advance + 32) >> 6; }
    };

    // A face over the font data with its Unicode character map selected, or
    // null when FreeType does not take the data as a font. It has no size
    // until setPixelSize() succeeds.
    static std::unique_ptr<FontFace> open(std::shared_ptr<FontEngine> engine, tBytes bytes, bool hinting);

    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    // Sizes the face and forgets the glyphs of the previous size. False for a
    // size below 1 or above MaxPixelSize, or one FreeType refuses.
    bool setPixelSize(std::int32_t pixels);

    std::int32_t pixelSize() const { return pixelSize_; }
    std::int32_t lineHeight() const { return lineHeight_; }
    std::int32_t ascent() const { return ascent_; }

    // The glyph of a code point, rendered on first use. A code point the font
    // has no glyph for gets the glyph of "?"; when that cannot be loaded
    // either, an empty glyph that advances 0.
    const tGlyph& glyph(char32_t codePoint);

private:
    FontFace(std::shared_ptr<FontEngine> engine, tBytes bytes, FT_FaceRec_* face, bool hinting);

    bool render(char32_t codePoint, tGlyph& glyph) const;

    std::shared_ptr<FontEngine> engine_;
    tBytes bytes_;
    FT_FaceRec_* face_ = nullptr;
    bool hinting_ = false;
    std::int32_t pixelSize_ = 0;
    std::int32_t lineHeight_ = 0;
    std::int32_t ascent_ = 0;
    // Code points without a glyph of their own share the fallback's entry.
    std::unordered_map<char32_t, std::shared_ptr<const tGlyph>> glyphs_;
};

} // namespace DETAIL
} // namespace Casement
