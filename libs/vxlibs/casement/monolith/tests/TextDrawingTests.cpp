#include "FontTestSupport.h"

#include <casement/DyeBlend.h>
#include <casement/Font.h>
#include <casement/Picture.h>
#include <casement/PixelArithmetic.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

namespace {

using Casement::Font;
using Casement::Picture;
using Casement::Rect;
using FontTest::canvas;
using FontTest::dejaVu;

constexpr std::uint32_t White = 0xFFFFFFFF;
constexpr std::uint32_t Black = 0xFF000000;

std::vector<std::uint32_t> pixelsOf(const Picture& picture)
{
    return {picture.pixels(), picture.pixels() + picture.width() * picture.height()};
}

bool rowHasInk(const Picture& picture, std::int32_t y, std::uint32_t background)
{
    for (std::int32_t x = 0; x < picture.width(); ++x) {
        if (picture.row(y)[x] != background) {
            return true;
        }
    }
    return false;
}

// The runs of rows [first, end) that hold a changed pixel, top to bottom.
std::vector<std::pair<std::int32_t, std::int32_t>> inkedRowRuns(const Picture& picture,
                                                                std::uint32_t background = White)
{
    std::vector<std::pair<std::int32_t, std::int32_t>> runs;
    for (std::int32_t y = 0; y < picture.height(); ++y) {
        if (!rowHasInk(picture, y, background)) {
            continue;
        }
        if (!runs.empty() && runs.back().second == y) {
            runs.back().second = y + 1;
        } else {
            runs.emplace_back(y, y + 1);
        }
    }
    return runs;
}

// The columns [first, end) that hold a changed pixel.
std::pair<std::int32_t, std::int32_t> inkedColumns(const Picture& picture)
{
    std::pair<std::int32_t, std::int32_t> columns{picture.width(), 0};
    for (std::int32_t y = 0; y < picture.height(); ++y) {
        for (std::int32_t x = 0; x < picture.width(); ++x) {
            if (picture.row(y)[x] != White) {
                columns = {std::min(columns.first, x), std::max(columns.second, x + 1)};
            }
        }
    }
    return columns;
}

class TextDrawing : public testing::Test {
protected:
    std::shared_ptr<Font> font = dejaVu(12);
    std::int32_t lineHeight = font->lineHeight();
    std::int32_t ascent = font->ascent();

    Picture draw(const Rect& rect, std::string_view text, std::uint32_t alignment, std::int32_t spacing = 0)
    {
        Picture picture = canvas(120, 120);
        font->drawText(picture, rect, text, Black, alignment, spacing);
        return picture;
    }
};

TEST(DyeBlend, MixesTheDyeByMaskTimesDyeAlphaAndKeepsTheDestinationAlpha)
{
    using Casement::Pixel::dyeUsingAlphaMask;
    EXPECT_EQ(dyeUsingAlphaMask(0x80102030, 0xFFC08040, 255), 0x80C08040u);
    EXPECT_EQ(dyeUsingAlphaMask(0x80102030, 0xFFC08040, 0), 0x80102030u);
    EXPECT_EQ(dyeUsingAlphaMask(0x80102030, 0x00C08040, 255), 0x80102030u);
    EXPECT_EQ(dyeUsingAlphaMask(0xFF000000, 0x80FFFFFF, 255), 0xFF808080u);
    EXPECT_EQ(dyeUsingAlphaMask(0xFF000000, 0xFFFFFFFF, 128), 0xFF808080u);
}

// A capital H stands on the baseline: its ink ends on the row above it.
TEST_F(TextDrawing, TopAlignmentPutsTheFirstBaselineAtTopPlusAscent)
{
    const auto runs = inkedRowRuns(draw({10, 5, 100, 100}, "H\nH", Font::Left | Font::Top, 3));
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].second, 5 + ascent);
    EXPECT_EQ(runs[1].second, 5 + ascent + lineHeight + 3);
    EXPECT_GT(runs[0].second - runs[0].first, 6);
}

TEST_F(TextDrawing, TwoLinesCentredInTwiceTheLineHeightStartAtTopPlusAscent)
{
    const auto exact = inkedRowRuns(draw({0, 20, 100, 2 * lineHeight}, "H\nH", Font::Left));
    ASSERT_EQ(exact.size(), 2u);
    EXPECT_EQ(exact[0].second, 20 + ascent);
    EXPECT_EQ(exact[1].second, 20 + ascent + lineHeight);

    const auto roomier = inkedRowRuns(draw({0, 20, 100, 2 * lineHeight + 5}, "H\nH", Font::Left));
    ASSERT_EQ(roomier.size(), 2u);
    EXPECT_EQ(roomier[0].second, 20 + ascent + 2);
}

TEST_F(TextDrawing, BottomAlignmentEndsTheLastLineAtTheBottom)
{
    const auto runs = inkedRowRuns(draw({0, 0, 100, 100}, "H\nH", Font::Left | Font::Bottom));
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[1].second, 100 - lineHeight + ascent);
    EXPECT_EQ(runs[0].second, 100 - 2 * lineHeight + ascent);
}

TEST_F(TextDrawing, RightAndCentreAlignEachLineByItsOwnWidth)
{
    const Rect box{0, 0, 100, 3 * lineHeight};
    for (const std::uint32_t horizontal : {Font::Right, Font::Centre}) {
        SCOPED_TRACE(horizontal);
        const std::uint32_t alignment = horizontal | Font::Top;
        Picture expected = canvas(120, 120);
        for (const auto& [line, top] : {std::pair{"Hi", 0}, std::pair{"WWWide", lineHeight}}) {
            const std::int32_t offset = font->alignOffset(line, alignment, box.width);
            EXPECT_GT(offset, 0);
            font->drawText(expected, {offset, top, box.width - offset, lineHeight}, line, Black, Font::Left | Font::Top,
                           0);
        }
        EXPECT_EQ(pixelsOf(draw(box, "Hi\nWWWide", alignment)), pixelsOf(expected));
    }
    const std::int32_t inkEnd = inkedColumns(draw(box, "Hi", Font::Right | Font::Top)).second;
    EXPECT_TRUE(inkEnd > 97 && inkEnd <= 100) << inkEnd;
}

TEST_F(TextDrawing, ALineWhoseBaselineIsBelowTheBottomIsNotDrawn)
{
    const std::int32_t secondBaseline = ascent + lineHeight;
    const Rect reachesIt{0, 0, 100, secondBaseline};
    const Rect stopsAbove{0, 0, 100, secondBaseline - 1};
    EXPECT_NE(pixelsOf(draw(reachesIt, "H\nH", Font::Left | Font::Top)),
              pixelsOf(draw(reachesIt, "H", Font::Left | Font::Top)));
    EXPECT_EQ(pixelsOf(draw(stopsAbove, "H\nH", Font::Left | Font::Top)),
              pixelsOf(draw(stopsAbove, "H", Font::Left | Font::Top)));
}

TEST_F(TextDrawing, AnInvalidSequenceEndsItsLineAndTheNextLinesAreDrawn)
{
    const Rect box{0, 0, 100, 100};
    EXPECT_EQ(pixelsOf(draw(box, "AB\xFF" "CD\nEF", Font::Left | Font::Top)),
              pixelsOf(draw(box, "AB\nEF", Font::Left | Font::Top)));
}

TEST_F(TextDrawing, AMissingCodePointIsDrawnAsAQuestionMark)
{
    EXPECT_EQ(pixelsOf(draw({0, 0, 100, 100}, "a\xF4\x8F\xBF\xBD" "b", Font::Left | Font::Top)),
              pixelsOf(draw({0, 0, 100, 100}, "a?b", Font::Left | Font::Top)));
}

TEST_F(TextDrawing, IsClippedToTheVisibleRectangleAndTheBufferButNotToTheRectangle)
{
    const std::string_view text = "WWWW\nWWWW\nWWWW";
    Picture reference = canvas(80, 80);
    font->drawText(reference, {0, 0, 80, 80}, text, Black, Font::Left | Font::Top, 0);
    ASSERT_GT(inkedColumns(reference).second, 40);

    // The drawing coordinates (8, 8) are the buffer's first pixel.
    Picture shifted = canvas(24, 24);
    shifted.setOrigin({-8, -8});
    font->drawText(shifted, {0, 0, 80, 80}, text, Black, Font::Left | Font::Top, 0);
    Picture visible = canvas(24, 24);
    visible.setOrigin({-8, -8});
    visible.setVisibleRect({4, 6, 10, 30});
    font->drawText(visible, {0, 0, 80, 80}, text, Black, Font::Left | Font::Top, 0);
    for (std::int32_t y = 0; y < 24; ++y) {
        for (std::int32_t x = 0; x < 24; ++x) {
            const std::uint32_t drawn = reference.row(y + 8)[x + 8];
            ASSERT_EQ(shifted.row(y)[x], drawn) << x << "," << y;
            ASSERT_EQ(visible.row(y)[x], x >= 4 && x < 14 && y >= 6 ? drawn : White) << x << "," << y;
        }
    }

    Picture narrow = canvas(80, 80);
    font->drawText(narrow, {5, 0, 15, 80}, text, Black, Font::Left | Font::Top, 0);
    EXPECT_EQ(inkedColumns(narrow).first, 5);
    EXPECT_GT(inkedColumns(narrow).second, 40) << "the lines run on past the rectangle";
}

TEST_F(TextDrawing, RectanglesFarOutsideTheBufferDrawNothing)
{
    constexpr std::int32_t Max = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t Min = std::numeric_limits<std::int32_t>::min();
    Picture picture = canvas(30, 30);
    for (const Rect& rect : {Rect{Max - 5, Max - 5, Max, Max}, Rect{Min, Min, 10, 10}, Rect{40, 0, 10, 10},
                             Rect{Min + 2, Min + 2, Max, Max}, Rect{0, 0, 0, 30}}) {
        font->drawText(picture, rect, "WWW\nWWW", Black, Font::Right | Font::Bottom, Max);
    }
    picture.setOrigin({Min, Max});
    font->drawText(picture, {0, 0, 30, 30}, "WWW", Black, Font::Centre, Min);
    EXPECT_TRUE(inkedRowRuns(picture).empty());
}

TEST_F(TextDrawing, DyesThroughCoverageKeepingAlphaAndSkipsATransparentColour)
{
    Picture transparent = canvas(40, 40, 0x00FFFFFF);
    font->drawText(transparent, {0, 0, 40, 40}, "W", 0xFF0000FF, Font::Left | Font::Top, 0);
    bool sawSolid = false;
    for (std::int32_t i = 0; i < 40 * 40; ++i) {
        const std::uint32_t pixel = transparent.pixels()[i];
        EXPECT_EQ(Casement::Pixel::alpha(pixel), 0u);
        EXPECT_EQ(Casement::Pixel::blue(pixel), 0xFFu);
        sawSolid = sawSolid || pixel == 0x000000FF;
    }
    EXPECT_TRUE(sawSolid);

    Picture untouched = canvas(40, 40);
    font->drawText(untouched, {0, 0, 40, 40}, "W", 0x00000000, Font::Left | Font::Top, 0);
    EXPECT_TRUE(inkedRowRuns(untouched).empty());
}

} // namespace
