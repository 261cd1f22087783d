#include "StyleParserTestSupport.h"
#include "TestResources.h"

#include <trellis/StyleParser2.h>

#include <basalt/MemoryStorage.h>
#include <basalt/Stream.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace Trellis {
namespace {

using Testing::propertyNames;
using Testing::stringErrors;
using Errors = std::vector<std::pair<std::int32_t, std::string>>;
using Names = std::vector<std::vector<std::string>>;

struct Parsed {
    explicit Parsed(const std::string& text) { result = parser.processString(text); }
    StyleParser2 parser;
    bool result = false;
};

TEST(StyleParserRecovery, AnAttributeSelectorInErrorAddsNoCondition)
{
    Parsed parsed("A[size=12] B[ =x]:down, C[a b]\n{ p: q }");
    EXPECT_TRUE(parsed.result);
    EXPECT_EQ(stringErrors(parsed.parser), (Errors{{1, "PARSER ERROR at line 1: Expecting Identifier"},
                                                   {1, "PARSER ERROR at line 1: Expecting attribute declaration"},
                                                   {1, "PARSER ERROR at line 1: Expecting keyword"}}));
    ASSERT_EQ(parsed.parser.styles().size(), 1U);
    const auto& selectors = parsed.parser.styles()[0].selectors;
    ASSERT_EQ(selectors.size(), 2U);
    EXPECT_TRUE(selectors[0].subject.attributes.empty());
    EXPECT_EQ(selectors[0].states[StateDown], StateMustHold);
    ASSERT_EQ(selectors[0].ancestors.size(), 1U);
    EXPECT_TRUE(selectors[0].ancestors[0].step.attributes.empty());
    EXPECT_EQ(selectors[1].subject.type, PooledName("C"));
}

TEST(StyleParserRecovery, ASelectorInErrorIsDroppedUpToTheEndOfItsLine)
{
    Parsed parsed("A B:\n, C { a: b }\nD.\n, E:! , F\n, G { c: d }");
    EXPECT_EQ(stringErrors(parsed.parser), (Errors{{1, "PARSER ERROR at line 1: Expecting Identifier"},
                                                   {3, "PARSER ERROR at line 3: Expecting Identifier"},
                                                   {4, "PARSER ERROR at line 4: Expecting Identifier"}}));
    ASSERT_EQ(parsed.parser.styles().size(), 2U);
    const auto& first = parsed.parser.styles()[0];
    ASSERT_EQ(first.selectors.size(), 1U);
    EXPECT_EQ(first.selectors[0].subject.type, PooledName("C"));
    EXPECT_TRUE(first.selectors[0].ancestors.empty());
    EXPECT_EQ(first.line, 2);
    const auto& second = parsed.parser.styles()[1];
    ASSERT_EQ(second.selectors.size(), 1U);
    EXPECT_EQ(second.selectors[0].subject.type, PooledName("G"));
}

TEST(StyleParserRecovery, ADeclarationInErrorEndsItsBlockSkippingComments)
{
    Parsed parsed("A { x: y; a: ; /* } */ b: c }\n"
                  "B { x: y; a b // }\n"
                  "  c: d }\n"
                  "C { e: rgb(1 /* ) */, 2, 3 ; f: g }\n"
                  "D { h: i }");
    EXPECT_EQ(propertyNames(parsed.parser), (Names{{"x"}, {"x"}, {"h"}}));
    EXPECT_EQ(stringErrors(parsed.parser), (Errors{{1, "PARSER ERROR at line 1: Expecting sequence"},
                                                   {2, "PARSER ERROR at line 2: Expecting :"},
                                                   {4, "PARSER ERROR at line 4: Expecting )"}}));
    EXPECT_EQ(parsed.parser.styles()[2].line, 5);
}

TEST(StyleParserRecovery, AStyleInErrorAddsNothingUpToItsClosingBrace)
{
    Parsed parsed("A B ; x }\nC { a: b c: d }\nE\n{ e: f }\nF::{ g: h }\n{ i: j }");
    EXPECT_EQ(stringErrors(parsed.parser),
              (Errors{{1, "PARSER ERROR at line 1: Expecting selector relation operator or {"},
                      {2, "PARSER ERROR at line 2: Expecting } or ;"},
                      {5, "PARSER ERROR at line 5: Expecting selector relation operator or {"},
                      {6, "PARSER ERROR at line 6: Expecting statement, whitespace or eoi"}}));
    EXPECT_EQ(propertyNames(parsed.parser), (Names{{"e"}}));
    EXPECT_EQ(parsed.parser.styles()[0].line, 3);
    EXPECT_TRUE(parsed.result);
}

TEST(StyleParserRecovery, StatementsInErrorAreSkippedToTheEndOfTheLine)
{
    Parsed parsed("@define $x;\n5 { a: b }\n@import foo;\n@define $y 1 A { c: d }\n@foo\nB { e: f }");
    const std::string eoi = "Expecting statement, whitespace or eoi";
    EXPECT_EQ(stringErrors(parsed.parser), (Errors{{1, "PARSER ERROR at line 1: Expecting WS"},
                                                   {2, "PARSER ERROR at line 2: " + eoi},
                                                   {3, "PARSER ERROR at line 3: Expecting URL"},
                                                   {4, "PARSER ERROR at line 4: Expecting ;"},
                                                   {5, "PARSER ERROR at line 5: " + eoi}}));
    EXPECT_EQ(propertyNames(parsed.parser), (Names{{"e"}}));
    EXPECT_EQ(parsed.parser.styles()[0].line, 6);
    EXPECT_EQ(parsed.parser.constants().count("x"), 0U);
}

TEST(StyleParserRecovery, UnnamedRulesAndGroupsAreReportedByTheirKind)
{
    Parsed parsed("@define x 1;\nA { a: rgb(); b: ; }\nB<;\n, C { f: g }");
    EXPECT_EQ(stringErrors(parsed.parser), (Errors{{1, "PARSER ERROR at line 1: Expecting unnamed-rule"},
                                                   {2, "PARSER ERROR at line 2: Expecting unnamed-rule"},
                                                   {3, "PARSER ERROR at line 3: Expecting Identifier"}}));
    EXPECT_EQ(propertyNames(parsed.parser), (Names{{"f"}}));
}

TEST(StyleParserRecovery, UnclosedTextRunsToTheEndOfInput)
{
    for (const char* text : {"A { a: url(\"x) }", "A { a: b /* }", "A { a: b", "A[a=b", "@import url('x'"}) {
        Parsed parsed(text);
        EXPECT_TRUE(parsed.result) << text;
        EXPECT_TRUE(parsed.parser.styles().empty()) << text;
        EXPECT_FALSE(stringErrors(parsed.parser).empty()) << text;
    }
}

TEST(StyleParserRecovery, ErrorsReachTheWarningListenersWithTheirSource)
{
    Testing::WarningCollector collector;
    Parsed parsed("\n\nA { a: #; }");
    EXPECT_EQ(collector.warnings,
              (std::vector<std::string>{"Stylesheet error: (StyleParser2::processString):3 - PARSER ERROR at line 3: "
                                        "Expecting hexadecimal digits (at most FFFFFFFF)"}));
}

std::unique_ptr<StyleParser2> parseBytes(const std::string& bytes, bool& result)
{
    auto storage = std::make_shared<Basalt::MemoryStorage>();
    storage->open(bytes.data(), bytes.size());
    Basalt::Stream stream(storage);
    stream.seek(2, Basalt::IStorage::FromStart);  // read from the start whatever the position
    auto parser = std::make_unique<StyleParser2>();
    result = parser->processStream(stream, "skin.txt");
    return parser;
}

TEST(StyleParserEncodings, Utf8WithAByteOrderMarkParsesLikePlainText)
{
    bool plainResult = false;
    bool markedResult = false;
    const std::string text = "\n/* \xC3\xA9 */ A { a: \"\xE2\x82\xAC\" }\nB { b: url('\xE2\x82\xAC') }";
    const auto plain = parseBytes(text, plainResult);
    const auto marked = parseBytes("\xEF\xBB\xBF" + text, markedResult);
    EXPECT_TRUE(plainResult);
    EXPECT_TRUE(markedResult);
    EXPECT_EQ(propertyNames(*marked), (Names{{"b"}}));
    EXPECT_EQ(propertyNames(*marked), propertyNames(*plain));
    EXPECT_EQ(marked->styles()[0].line, 3);
    EXPECT_EQ(marked->styles()[0].properties[0].value.value, plain->styles()[0].properties[0].value.value);
    EXPECT_FALSE(marked->errorLog().empty());
    EXPECT_EQ(marked->errorLog(), plain->errorLog());
}

TEST(StyleParserEncodings, Utf16AndUtf32AreRejected)
{
    for (const std::string& bytes : {std::string("\xFF\xFE" "A\0{\0", 6), std::string("\xFE\xFF\0A\0{", 6),
                                    std::string("\xFF\xFE\0\0A\0\0\0", 8), std::string("\0\0\xFE\xFF\0\0\0A", 8)}) {
        bool result = true;
        const auto parser = parseBytes(bytes, result);
        EXPECT_FALSE(result);
        EXPECT_TRUE(parser->styles().empty());
        EXPECT_EQ(parser->errorLog(), (StyleParser2::tErrorLog{{"skin.txt", {{0, "Unsupported buffer encoding"}}}}));
    }
}

} // namespace
} // namespace Trellis
