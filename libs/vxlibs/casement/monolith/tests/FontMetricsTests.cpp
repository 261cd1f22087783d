#include "FontTestSupport.h"

#include <casement/Font.h>
#include <casement/FontEngine.h>
#include <casement/FontFace.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <limits>
#include <memory>
#include <string_view>
#include <vector>

namespace {

using Casement::Font;
using FontTest::dejaVu;
using FontTest::dejaVuSans;

std::int32_t widthOf(Font& font, std::string_view text)
{
    return font.width(text.data(), text.size());
}

TEST(FontCreation, RefusesBytesThatAreNotAFont)
{
    const auto bytes = [](std::string_view text) {
        return std::make_shared<const std::vector<std::uint8_t>>(text.begin(), text.end());
    };
    EXPECT_EQ(Font::create(nullptr, 12, true), nullptr);
    EXPECT_EQ(Font::create(bytes(""), 12, true), nullptr);
    EXPECT_EQ(Font::create(bytes("font-size: 12px; this is a stylesheet, not a font"), 12, true), nullptr);
    const std::vector<std::uint8_t>& font = *dejaVuSans();
    ASSERT_GT(font.size(), 100'000u);
    for (const std::size_t cut : {std::size_t{64}, font.size() / 2}) {
        const auto head = std::make_shared<const std::vector<std::uint8_t>>(font.begin(), font.begin() + cut);
        EXPECT_EQ(Font::create(head, 12, true), nullptr) << cut;
    }
}

// A fuzzed font whose copyright sign spans over a hundred ems: at 80 px its
// bitmap would be 9065 x 4240 pixels. Such a glyph is not rendered; the
// text then shows the font's fallback, as for a missing glyph.
TEST(FontCreation, RendersNoGlyphBeyondEightEms)
{
    std::ifstream file(TEST_RESOURCES_DIR "/../fuzz_seeds/font_load/oversized-glyph.ttf", std::ios::binary);
    const auto bytes = std::make_shared<const std::vector<std::uint8_t>>(std::istreambuf_iterator<char>(file),
                                                                        std::istreambuf_iterator<char>());
    const auto face = Casement::DETAIL::FontFace::open(Casement::FontEngine::instance(), bytes, false);
    ASSERT_NE(face, nullptr);
    ASSERT_TRUE(face->setPixelSize(80));
    const auto& glyph = face->glyph(U'\u00A9');
    EXPECT_LE(glyph.width, 8 * 80);
    EXPECT_LE(glyph.height, 8 * 80);
}

TEST(FontScale, ScaleTwoAddsAFaceAtTwiceThePixelSizeAndScaleOneReusesTheFirst)
{
    const auto font = dejaVu(12);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->faceCount(), 1u);
    EXPECT_EQ(font->pixelSize(), 12);
    const std::int32_t lineHeight = font->lineHeight();
    const std::int32_t ascent = font->ascent();
    const std::int32_t width = font->textWidth("Hello, world");
    EXPECT_GT(lineHeight, 12);
    EXPECT_GT(ascent, 8);
    EXPECT_LT(ascent, lineHeight);
    EXPECT_GT(width, 50);

    font->setScale(2.0f);
    EXPECT_EQ(font->faceCount(), 2u);
    EXPECT_EQ(font->pixelSize(), 24);
    EXPECT_NEAR(font->lineHeight(), 2 * lineHeight, 1);
    EXPECT_NEAR(font->ascent(), 2 * ascent, 1);
    EXPECT_NEAR(font->textWidth("Hello, world"), 2 * width, 12);

    font->setScale(1.0f);
    EXPECT_EQ(font->faceCount(), 2u);
    EXPECT_EQ(font->pixelSize(), 12);
    EXPECT_EQ(font->lineHeight(), lineHeight);
    EXPECT_EQ(font->textWidth("Hello, world"), width);
}

TEST(FontScale, PixelSizeRoundsHalvesAwayFromZero)
{
    const auto five = dejaVu(5);
    five->setScale(1.5f);
    EXPECT_EQ(five->pixelSize(), 8);
    const auto thirteen = dejaVu(13);
    thirteen->setScale(0.5f);
    EXPECT_EQ(thirteen->pixelSize(), 7);
    thirteen->setScale(1.25f);
    EXPECT_EQ(thirteen->pixelSize(), 16);
}

void expectNoFace(Font& font)
{
    EXPECT_EQ(font.pixelSize(), 0);
    EXPECT_EQ(font.lineHeight(), 10);
    EXPECT_EQ(font.advance(U'W'), 0);
    EXPECT_EQ(widthOf(font, "Hello"), 0);
    EXPECT_EQ(font.textWidth("Hello\nworld"), 0);
    EXPECT_EQ(font.alignOffset("Hello", Font::Right, 40), 40);
    Casement::Picture picture = FontTest::canvas(40, 40);
    font.drawText(picture, {0, 0, 40, 40}, "Hello", 0xFF000000, Font::Left | Font::Top, 0);
    EXPECT_EQ(std::count(picture.pixels(), picture.pixels() + 40 * 40, 0xFFFFFFFF), 40 * 40);
}

TEST(FontScale, AFontWithoutAFaceMeasuresLineHeightTenAndWidthZeroAndDrawsNothing)
{
    const auto empty = dejaVu(0);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->faceCount(), 0u);
    expectNoFace(*empty);

    const auto font = dejaVu(12);
    for (const float unusable : {0.0f, -1.0f, 1000.0f, std::numeric_limits<float>::infinity(),
                                 std::numeric_limits<float>::quiet_NaN()}) {
        SCOPED_TRACE(unusable);
        font->setScale(unusable);
        expectNoFace(*font);
        font->setScale(1.0f);
        EXPECT_EQ(font->pixelSize(), 12);
    }
    EXPECT_EQ(font->faceCount(), 1u);
}

TEST(FontMeasure, WidthAddsTheAdvancesUpToANulOrALineFeed)
{
    const auto font = dejaVu(12);
    const std::int32_t sum = font->advance(U'H') + font->advance(U'i') + font->advance(U'!');
    EXPECT_EQ(widthOf(*font, "Hi!"), sum);
    EXPECT_EQ(widthOf(*font, "Hi!\nWWW"), sum);
    EXPECT_EQ(widthOf(*font, std::string_view("Hi!\0WWW", 7)), sum);
    EXPECT_EQ(font->width("Hi!WWW", 3), sum);
    EXPECT_EQ(font->width(nullptr, 5), 0);
    EXPECT_EQ(widthOf(*font, "\xC3\xA9"), font->advance(0xE9));
    EXPECT_GT(font->advance(0xE9), 0);
}

TEST(FontMeasure, TextWidthIsTheWidestLineOfTheTextBeforeANul)
{
    const auto font = dejaVu(12);
    EXPECT_EQ(font->textWidth("a\nWWWW\nb"), widthOf(*font, "WWWW"));
    EXPECT_EQ(font->textWidth("WWWW\n"), widthOf(*font, "WWWW"));
    EXPECT_EQ(font->textWidth(std::string_view("ab\0\nWWWW", 8)), widthOf(*font, "ab"));
    EXPECT_EQ(font->textWidth(""), 0);
}

TEST(FontMeasure, ACodePointMissingFromTheFontMeasuresAsAQuestionMark)
{
    const auto font = dejaVu(12);
    const char32_t missing = 0x10FFFD;  // private use: no glyph in the font
    EXPECT_EQ(font->advance(missing), font->advance(U'?'));
    EXPECT_EQ(widthOf(*font, "a\xF4\x8F\xBF\xBD" "b"), widthOf(*font, "a?b"));
    EXPECT_NE(font->advance(U'?'), font->advance(U'W'));
}

TEST(FontMeasure, AnInvalidSequenceEndsTheLineThere)
{
    const auto font = dejaVu(12);
    const std::int32_t ab = widthOf(*font, "AB");
    EXPECT_EQ(widthOf(*font, "AB\xC3"), ab);
    EXPECT_EQ(widthOf(*font, "AB\xFF" "CDEF"), ab);
    EXPECT_EQ(widthOf(*font, "AB\xED\xA0\x80" "CDEF"), ab);
    EXPECT_EQ(widthOf(*font, "AB\xE0\x80\x80" "CDEF"), ab);
    EXPECT_EQ(font->textWidth("AB\xC0\xAF" "CDEFGH\nABC"), widthOf(*font, "ABC"));
    EXPECT_EQ(font->alignOffset("AB\xFF" "CDEFGH", Font::Right, 100), 100 - ab);
}

TEST(FontAlignOffset, RightAndCentreShareTheSpaceLeftByTheFirstLine)
{
    const auto font = dejaVu(12);
    const std::int32_t width = widthOf(*font, "Hi");
    const std::int32_t box = width + 7;
    for (const std::string_view text : {"Hi", "Hi\nmuch longer second line"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(font->alignOffset(text, Font::Left | Font::Top, box), 0);
        EXPECT_EQ(font->alignOffset(text, Font::Right, box), 7);
        EXPECT_EQ(font->alignOffset(text, Font::Right | Font::Bottom, box), 7);
        EXPECT_EQ(font->alignOffset(text, Font::Centre, box), 4);
        EXPECT_EQ(font->alignOffset(text, Font::Centre | Font::Top, box + 1), 4);
        EXPECT_EQ(font->alignOffset(text, Font::Left | Font::Right, box), 0);
    }
}

TEST(FontAlignOffset, IsZeroForEveryAlignmentWhenTheLineDoesNotFit)
{
    const auto font = dejaVu(12);
    const std::int32_t width = widthOf(*font, "Too wide");
    const std::uint32_t alignments[] = {Font::Left, Font::Right, Font::Centre, Font::Right | Font::Bottom};
    for (const std::uint32_t alignment : alignments) {
        for (const std::int32_t box : {width - 1, width, 0, -5}) {
            EXPECT_EQ(font->alignOffset("Too wide", alignment, box), 0) << alignment << " in " << box;
        }
    }
}

} // namespace
