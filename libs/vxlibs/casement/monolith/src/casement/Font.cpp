#include "casement/Font.h"

#include "casement/FontEngine.h"
#include "casement/FontFace.h"
#include "casement/GlyphDrawing.h"
#include "casement/PixelArithmetic.h"
#include "casement/Utf8Decoder.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace Casement {
namespace {

using DETAIL::FontFace;

constexpr std::int32_t NoFaceLineHeight = 10;

// size x scale rounded with halves away from zero; 0 when that is not a size
// a face can take.
std::int32_t pixelSizeFor(std::int32_t size, float scale)
{
    const double pixels = std::round(static_cast<double>(size) * scale);
    return std::isfinite(pixels) && pixels >= 1 && pixels <= FontFace::MaxPixelSize ? static_cast<std::int32_t>(pixels)
                                                                                      : 0;
}

std::int32_t saturated(std::int64_t value)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                               std::numeric_limits<std::int32_t>::max()));
}

std::string_view beforeNul(std::string_view text)
{
    return text.substr(0, text.find('\0'));
}

// Calls `visit` with each code point of the line while it returns true. The
// line ends at a NUL, at a line feed and at a sequence that is not valid
// UTF-8.
template <typename Visit>
void forEachCodePoint(std::string_view line, Visit visit)
{
    Utf8Decoder decoder(line);
    for (auto next = decoder.next(); next.status == Utf8Decoder::Decoded && next.codePoint != U'\0' &&
                                     next.codePoint != U'\n' && visit(next.codePoint);
         next = decoder.next()) {
    }
}

// Calls `visit` with each line of the text (split at line feeds) while it
// returns true.
template <typename Visit>
void forEachLine(std::string_view text, Visit visit)
{
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find('\n', start);
        if (!visit(text.substr(start, end - start)) || end == std::string_view::npos) {
            return;
        }
        start = end + 1;
    }
}

} // namespace

std::shared_ptr<Font> Font::create(tBytes bytes, std::int32_t size, bool hinting)
{
    auto face = FontFace::open(FontEngine::instance(), bytes, hinting);
    if (!face) {
        return nullptr;
    }
    std::shared_ptr<Font> font(new Font(std::move(bytes), size, hinting));
    font->addFace(font->scale_, std::move(face));
    return font;
}

Font::Font(tBytes bytes, std::int32_t size, bool hinting) : bytes_(std::move(bytes)), size_(size), hinting_(hinting)
{
}

Font::~Font() = default;

void Font::setScale(float scale)
{
    if (scale == scale_) {
        return;
    }
    scale_ = scale;
    face_ = nullptr;
    // A NaN would break the map's ordering; it has no face anyway.
    if (std::isnan(scale)) {
        return;
    }
    if (const auto found = faces_.find(scale); found != faces_.end()) {
        face_ = found->second.get();
        return;
    }
    addFace(scale, FontFace::open(FontEngine::instance(), bytes_, hinting_));
}

void Font::addFace(float scale, std::unique_ptr<FontFace> face)
{
    if (face && face->setPixelSize(pixelSizeFor(size_, scale))) {
        face_ = face.get();
        faces_.emplace(scale, std::move(face));
    }
}

std::int32_t Font::pixelSize() const
{
    return face_ != nullptr ? face_->pixelSize() : 0;
}

std::int32_t Font::lineHeight() const
{
    return face_ != nullptr ? face_->lineHeight() : NoFaceLineHeight;
}

std::int32_t Font::ascent() const
{
    return face_ != nullptr ? face_->ascent() : 0;
}

std::int32_t Font::advance(char32_t codePoint)
{
    return face_ != nullptr ? face_->glyph(codePoint).advancePixels() : 0;
}

std::int32_t Font::width(const char* bytes, std::size_t length)
{
    if (bytes == nullptr) {
        return 0;
    }
    return saturated(lineWidth({bytes, length}, std::numeric_limits<std::int64_t>::max()));
}

std::int32_t Font::textWidth(std::string_view text)
{
    std::int64_t widest = 0;
    forEachLine(beforeNul(text), [&](std::string_view line) {
        widest = std::max(widest, lineWidth(line, std::numeric_limits<std::int64_t>::max()));
        return true;
    });
    return saturated(widest);
}

std::int32_t Font::alignOffset(std::string_view text, std::uint32_t alignment, std::int32_t width)
{
    return lineOffset(text, alignment, width);
}

void Font::drawText(Picture& buffer, const Rect& rect, std::string_view text, std::uint32_t colour,
                    std::uint32_t alignment, std::int32_t lineSpacing)
{
    text = beforeNul(text);
    const Rect clip = DETAIL::pixelClip(buffer);
    if (face_ == nullptr || text.empty() || rect.empty() || clip.empty() || Pixel::alpha(colour) == 0) {
        return;
    }
    const std::int64_t lines = std::ranges::count(text, '\n') + 1;
    const std::int64_t lineHeight = face_->lineHeight();
    const std::int64_t bottom = std::int64_t{rect.y} + rect.height;
    std::int64_t baseline = firstBaseline(rect, lines, alignment, lineSpacing);
    forEachLine(text, [&](std::string_view line) {
        if (baseline > bottom) {
            return false;
        }
        if (baseline + lineHeight >= rect.y) {
            drawLine(buffer, clip, line, std::int64_t{rect.x} + lineOffset(line, alignment, rect.width), baseline,
                     colour);
        }
        baseline += lineHeight + lineSpacing;
        return true;
    });
}

std::int64_t Font::lineWidth(std::string_view line, std::int64_t limit)
{
    std::int64_t total = 0;
    if (face_ != nullptr) {
        forEachCodePoint(line, [&](char32_t codePoint) {
            total += face_->glyph(codePoint).advancePixels();
            return total < limit;
        });
    }
    return total;
}

std::int32_t Font::lineOffset(std::string_view line, std::uint32_t alignment, std::int32_t width)
{
    if ((alignment & Left) != 0) {
        return 0;
    }
    const std::int64_t lineWidth = this->lineWidth(line, width);
    if (lineWidth >= width) {
        return 0;
    }
    const std::int64_t space = width - lineWidth;
    return saturated((alignment & Right) != 0 ? space : (space + 1) / 2);
}

std::int64_t Font::firstBaseline(const Rect& rect, std::int64_t lines, std::uint32_t alignment,
                                 std::int32_t lineSpacing) const
{
    const std::int64_t total = lines * lineHeight() + (lines - 1) * lineSpacing;
    if ((alignment & Bottom) != 0) {
        return std::int64_t{rect.y} + rect.height - total + ascent();
    }
    const std::int64_t top = std::int64_t{rect.y} + ascent();
    return (alignment & Top) != 0 ? top : top + (rect.height - total) / 2;
}

void Font::drawLine(Picture& buffer, const Rect& clip, std::string_view line, std::int64_t pen,
                    std::int64_t baseline, std::uint32_t colour)
{
    forEachCodePoint(line, [&](char32_t codePoint) {
        const FontFace::tGlyph& glyph = face_->glyph(codePoint);
        DETAIL::drawGlyph(buffer, clip, pen + glyph.left, baseline - glyph.top, glyph, colour);
        pen += glyph.advancePixels();
        return true;
    });
}

} // namespace Casement
