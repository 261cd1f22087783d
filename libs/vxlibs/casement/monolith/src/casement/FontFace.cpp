#include "casement/FontFace.h"

#include "casement/FontEngine.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <limits>

namespace Casement::DETAIL {
namespace {

constexpr char32_t FallbackCodePoint = U'?';

// The widest and tallest glyph drawn, in ems. Real glyphs, swashes included,
// stay within a few ems; a damaged or hostile font may give one a box a
// hundred ems wide, whose bitmap would take a second and tens of megabytes.
constexpr FT_Pos LargestGlyphEms = 8;

std::int32_t roundedPixels(FT_Pos sixtyFourths)
{
    return static_cast<std::int32_t>((sixtyFourths + 32) >> 6);
}

std::int32_t clampToInt32(FT_Pos value)
{
    return static_cast<std::int32_t>(std::clamp<FT_Pos>(value, std::numeric_limits<std::int32_t>::min(),
                                                        std::numeric_limits<std::int32_t>::max()));
}

// The address of a bitmap row counted from the top, whichever way the rows
// flow in memory.
const unsigned char* bitmapRow(const FT_Bitmap& bitmap, unsigned int y)
{
    const auto stride = static_cast<std::ptrdiff_t>(bitmap.pitch);
    const unsigned int fromStart = stride >= 0 ? y : bitmap.rows - 1 - y;
    return bitmap.buffer + static_cast<std::ptrdiff_t>(fromStart) * (stride >= 0 ? stride : -stride);
}

std::uint8_t coverageAt(const FT_Bitmap& bitmap, const unsigned char* row, unsigned int x)
{
    if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
        return (row[x >> 3] & (0x80 >> (x & 7))) != 0 ? 255 : 0;
    }
    if (bitmap.num_grays == 256) {
        return row[x];
    }
    return static_cast<std::uint8_t>(std::min<unsigned int>(row[x] * 255u / (bitmap.num_grays - 1u), 255u));
}

// Copies an 8-bit gray or 1-bit bitmap as 8-bit coverage; other pixel modes
// (colour bitmaps) give no coverage.
void copyCoverage(const FT_Bitmap& bitmap, FontFace::tGlyph& glyph)
{
    const bool gray = bitmap.pixel_mode == FT_PIXEL_MODE_GRAY && bitmap.num_grays > 1;
    if ((!gray && bitmap.pixel_mode != FT_PIXEL_MODE_MONO) || bitmap.buffer == nullptr) {
        return;
    }
    glyph.width = static_cast<std::int32_t>(bitmap.width);
    glyph.height = static_cast<std::int32_t>(bitmap.rows);
    glyph.coverage.resize(static_cast<std::size_t>(bitmap.width) * bitmap.rows);
    auto out = glyph.coverage.begin();
    for (unsigned int y = 0; y < bitmap.rows; ++y) {
        const unsigned char* row = bitmapRow(bitmap, y);
        for (unsigned int x = 0; x < bitmap.width; ++x) {
            *out++ = coverageAt(bitmap, row, x);
        }
    }
}

// Whether the loaded glyph's box lies within LargestGlyphEms at `pixels`
// per em, measured before it is rendered.
bool fitsGlyphBounds(const FT_GlyphSlot slot, std::int32_t pixels)
{
    const FT_Pos largest = LargestGlyphEms * pixels;
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        FT_BBox box;
        FT_Outline_Get_CBox(&slot->outline, &box);
        return (box.xMax - box.xMin) / 64 <= largest && (box.yMax - box.yMin) / 64 <= largest;
    }
    return slot->bitmap.width <= static_cast<unsigned int>(largest) &&
           slot->bitmap.rows <= static_cast<unsigned int>(largest);
}

} // namespace

std::unique_ptr<FontFace> FontFace::open(std::shared_ptr<FontEngine> engine, tBytes bytes, bool hinting)
{
    if (!engine || engine->handle() == nullptr || !bytes || bytes->empty()) {
        return nullptr;
    }
    FT_Face face = nullptr;
    if (FT_New_Memory_Face(engine->handle(), bytes->data(), static_cast<FT_Long>(bytes->size()), 0, &face) != 0) {
        return nullptr;
    }
    // A font without a Unicode map keeps the map FreeType chose: its glyphs
    // are then looked up by that map's codes.
    FT_Select_Charmap(face, FT_ENCODING_UNICODE);
    return std::unique_ptr<FontFace>(new FontFace(std::move(engine), std::move(bytes), face, hinting));
}

FontFace::FontFace(std::shared_ptr<FontEngine> engine, tBytes bytes, FT_FaceRec_* face, bool hinting)
    : engine_(std::move(engine)), bytes_(std::move(bytes)), face_(face), hinting_(hinting)
{
}

FontFace::~FontFace()
{
    FT_Done_Face(face_);
}

bool FontFace::setPixelSize(std::int32_t pixels)
{
    glyphs_.clear();
    pixelSize_ = lineHeight_ = ascent_ = 0;
    if (pixels < 1 || pixels > MaxPixelSize || FT_Set_Pixel_Sizes(face_, 0, static_cast<FT_UInt>(pixels)) != 0) {
        return false;
    }
    pixelSize_ = pixels;
    lineHeight_ = roundedPixels(face_->size->metrics.height);
    if (lineHeight_ < 1) {
        // Metrics of a damaged or hostile font: lines must never stack upwards.
        lineHeight_ = pixels;
    }
    ascent_ = roundedPixels(face_->size->metrics.ascender);
    return true;
}

const FontFace::tGlyph& FontFace::glyph(char32_t codePoint)
{
    if (const auto found = glyphs_.find(codePoint); found != glyphs_.end()) {
        return *found->second;
    }
    std::shared_ptr<const tGlyph> entry;
    if (auto rendered = std::make_shared<tGlyph>(); pixelSize_ > 0 && render(codePoint, *rendered)) {
        entry = std::move(rendered);
    } else if (codePoint != FallbackCodePoint) {
        glyph(FallbackCodePoint);
        entry = glyphs_.at(FallbackCodePoint);
    } else {
        entry = std::make_shared<const tGlyph>();
    }
    return *glyphs_.emplace(codePoint, std::move(entry)).first->second;
}

bool FontFace::render(char32_t codePoint, tGlyph& glyph) const
{
    // Index 0 is the font's "missing glyph" box: a code point mapped to it
    // has no glyph of its own.
    const FT_UInt index = FT_Get_Char_Index(face_, codePoint);
    const FT_Int32 flags = hinting_ ? FT_LOAD_NO_AUTOHINT : FT_LOAD_NO_HINTING;
    if (index == 0 || FT_Load_Glyph(face_, index, flags) != 0) {
        return false;
    }
    const FT_GlyphSlot slot = face_->glyph;
    if (!fitsGlyphBounds(slot, pixelSize_) || FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) {
        return false;
    }
    glyph.advance = clampToInt32(slot->advance.x);
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    copyCoverage(slot->bitmap, glyph);
    return true;
}

} // namespace Casement::DETAIL
