// JSON string literals, as both programs write them in their machine-readable output.
#include <basalt/JsonText.h>

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Json, EscapesWhatAStringLiteralCannotHold)
{
    EXPECT_EQ(Basalt::jsonString(""), R"("")");
    EXPECT_EQ(Basalt::jsonString(R"(a "b" \c)"), R"("a \"b\" \\c")");
    EXPECT_EQ(Basalt::jsonString("\n\r\t\b\f"), R"("\n\r\t\b\f")");
    EXPECT_EQ(Basalt::jsonString(std::string("\x01\x1f", 2)), R"("\u0001\u001f")");
    EXPECT_EQ(Basalt::jsonString(std::string("a\0b", 3)), R"("a\u0000b")");
    // UTF-8 and the printable ASCII range pass unchanged.
    EXPECT_EQ(Basalt::jsonString("Grüße / 0x7F ~"), R"("Grüße / 0x7F ~")");
}

} // namespace
