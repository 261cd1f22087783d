#include <casement/Utf8Decoder.h>

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

namespace {

using Casement::Utf8Decoder;

TEST(Utf8Decoder, DecodesEveryLengthUpToTheLastCodePoint)
{
    Utf8Decoder decoder("A\xC2\x80\xDF\xBF\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBF"
                        "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF");
    const std::vector<char32_t> expected = {U'A', 0x80, 0x7FF, 0x800, 0xD7FF, 0xE000, 0xFFFF, 0x10000, 0x10FFFF};
    for (const char32_t codePoint : expected) {
        const auto result = decoder.next();
        ASSERT_EQ(result.status, Utf8Decoder::Decoded);
        EXPECT_EQ(result.codePoint, codePoint);
        EXPECT_TRUE(result.error().empty());
    }
    EXPECT_EQ(decoder.next().status, Utf8Decoder::End);
    EXPECT_EQ(decoder.next().status, Utf8Decoder::End);
    EXPECT_EQ(Utf8Decoder(std::string_view()).next().status, Utf8Decoder::End);
}

TEST(Utf8Decoder, ReportsEachKindOfInvalidSequenceAndStaysAtIt)
{
    // Each is tried at the end of the text and followed by more text.
    const std::string_view invalid[] = {
        "\x80", "\xBF",                             // stray continuation bytes
        "\xFF", "\xF8\x88\x80\x80\x80",             // bytes that start no sequence
        "\xC0\xAF", "\xC1\xBF", "\xE0\x9F\xBF", "\xF0\x8F\xBF\xBF",  // overlong forms
        "\xED\xA0\x80", "\xED\xBF\xBF",             // surrogates
        "\xF4\x90\x80\x80", "\xF7\xBF\xBF\xBF",     // above 0x10FFFF
        "\xC3", "\xE2\x82", "\xF0\x9F\x98",          // sequences cut short
        "\xE2\x82" "A", "\xC3\xC3", "\xE2\n\x82",    // continued by a byte that is no continuation
    };
    for (const std::string_view sequence : invalid) {
        for (const char* const after : {"", "more"}) {
            const std::string text = "ok" + std::string(sequence) + after;
            SCOPED_TRACE(testing::PrintToString(text));
            Utf8Decoder decoder(text);
            EXPECT_EQ(decoder.next().codePoint, U'o');
            EXPECT_EQ(decoder.next().codePoint, U'k');
            const auto result = decoder.next();
            EXPECT_EQ(result.status, Utf8Decoder::Invalid);
            EXPECT_EQ(result.error(), "Invalid UTF-8 sequence encountered while trying to encode UTF-32 character");
            EXPECT_EQ(decoder.position(), 2u);
            EXPECT_EQ(decoder.next().status, Utf8Decoder::Invalid);
            EXPECT_EQ(decoder.position(), 2u);
        }
    }
}

} // namespace
