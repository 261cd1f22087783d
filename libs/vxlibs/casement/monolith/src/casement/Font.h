#pragma once

#include "casement/Geometry.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string_view>
#include <vector>

namespace Casement {

class Picture;

namespace DETAIL {
class FontFace;
} // namespace DETAIL

// A font made from TrueType data in memory, at a size in layout pixels. It
// keeps one face per display scale (pixel size = size x scale, halves rounded
// away from zero) and measures and draws in the device pixels of the current
// scale; callers set the scale before every measuring or drawing call.
//
// Text is UTF-8 and ends at a NUL. A line ends at a line feed, and also at a
// byte sequence that is not valid UTF-8: the rest of that line is neither
// measured nor drawn, and the following lines are treated as usual.
//
// Glyphs are rendered once per face and code point; a code point the font has
// no glyph for is measured and drawn as "?". Used on the user-interface
// thread only.
class Font {
public:
    using tBytes = std::shared_ptr<const std::vector<std::uint8_t>>;

    // Edge codes of an alignment word, which is a horizontal code OR a
    // vertical one. Left wins over Right and Bottom over Top; a word with
    // neither code of a direction is centred in that direction.
    enum eAlignment : std::uint32_t { Centre = 0, Right = 1, Bottom = 16, Top = 256, Left = 4096 };

    // The font at scale 1, or null when the bytes are not a font FreeType can
    // open. A size that gives a pixel size below 1 makes a font without a
    // face at that scale.
    static std::shared_ptr<Font> create(tBytes bytes, std::int32_t size, bool hinting);

    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    // Selects the face for a scale, creating it on first use. A scale that
    // gives no usable pixel size (not finite, too small or above
    // DETAIL::FontFace::MaxPixelSize) leaves the font without a face.
    void setScale(float scale);
    float scale() const { return scale_; }

    std::int32_t size() const { return size_; }
    bool hinting() const { return hinting_; }
    // The faces made so far, one per scale.
    std::size_t faceCount() const { return faces_.size(); }

    // Metrics of the current face in device pixels: its pixel size (0 without
    // a face), its line height (10 without a face) and its ascent (0 without).
    std::int32_t pixelSize() const;
    std::int32_t lineHeight() const;
    std::int32_t ascent() const;

    // A glyph's advance rounded to whole pixels (0 without a face).
    std::int32_t advance(char32_t codePoint);
    // The sum of the advances of the code points in the bytes, up to the end
    // of the first line.
    std::int32_t width(const char* bytes, std::size_t length);
    // The largest width among the text's lines.
    std::int32_t textWidth(std::string_view text);
    // Where the text's first line starts in a box `width` wide: 0 for left
    // alignment and for a line at least as wide as the box; otherwise the
    // space left over for right alignment, or half of it rounded up for
    // centring.
    std::int32_t alignOffset(std::string_view text, std::uint32_t alignment, std::int32_t width);

    // Draws the text's lines, `lineSpacing` pixels apart, aligned in `rect`
    // (device pixels, in the buffer's drawing coordinates), dyeing the buffer
    // with `colour` through each glyph's coverage. Drawing is clipped to the
    // buffer's visible rectangle only, so that a glyph reaching out of `rect`
    // (an accent above a line aligned to the bottom of a small box) keeps all
    // its rows; the lines are chosen by `rect`: a line whose baseline is below
    // its bottom is not drawn, nor one that ends above its top. An empty
    // `rect`, and a colour with alpha 0, draw nothing.
    void drawText(Picture& buffer, const Rect& rect, std::string_view text, std::uint32_t colour,
                  std::uint32_t alignment, std::int32_t lineSpacing);

private:
    Font(tBytes bytes, std::int32_t size, bool hinting);

    void addFace(float scale, std::unique_ptr<DETAIL::FontFace> face);
    std::int64_t lineWidth(std::string_view line, std::int64_t limit);
    std::int32_t lineOffset(std::string_view line, std::uint32_t alignment, std::int32_t width);
    std::int64_t firstBaseline(const Rect& rect, std::int64_t lines, std::uint32_t alignment,
                               std::int32_t lineSpacing) const;
    void drawLine(Picture& buffer, const Rect& clip, std::string_view line, std::int64_t pen,
                  std::int64_t baseline, std::uint32_t colour);

    tBytes bytes_;
    std::int32_t size_ = 0;
    bool hinting_ = false;
    float scale_ = 1.0f;
    std::map<float, std::unique_ptr<DETAIL::FontFace>> faces_;
    DETAIL::FontFace* face_ = nullptr;  // the face of the current scale, if any
};

} // namespace Casement
