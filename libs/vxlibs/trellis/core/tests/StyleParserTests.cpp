#include "StyleParserTestSupport.h"

#include <trellis/StyleParser2.h>

#include <gtest/gtest.h>

#include <string>

namespace Trellis {
namespace {

using Testing::stringErrors;
using Testing::valueOf;
using Value = tPropertyValue;

TEST(StyleParserValues, ColoursKeepTheLowEightBitsOfEachComponent)
{
    EXPECT_EQ(valueOf("rgb(300, 0, 0)"), (Value{0xFF2C0000U, Property::UnitColor}));
    EXPECT_EQ(valueOf("rgba(0,0,0,128)"), (Value{0x80000000U, Property::UnitColor}));
    EXPECT_EQ(valueOf("RGBA ( 16, 35, 49, 230 )"), (Value{0xE6102331U, Property::UnitColor}));
    // The alpha is scaled modulo 2^32: 257 keeps 1.
    EXPECT_EQ(valueOf("rgba(1,2,3,257)"), (Value{0x01010203U, Property::UnitColor}));
    EXPECT_EQ(valueOf("Rgb(1,2,3)"), (Value{0xFF010203U, Property::UnitColor}));
}

TEST(StyleParserValues, HexColoursAreAlwaysOpaqueAndNeverExpanded)
{
    EXPECT_EQ(valueOf("#FF0000"), (Value{0xFFFF0000U, Property::UnitColor}));
    EXPECT_EQ(valueOf("#80FF0000"), (Value{0xFFFF0000U, Property::UnitColor}));
    EXPECT_EQ(valueOf("#123"), (Value{0xFF000123U, Property::UnitColor}));
    EXPECT_EQ(valueOf("#00000000abc"), (Value{0xFF000ABCU, Property::UnitColor}));
}

TEST(StyleParserValues, WrongComponentCountsAreReportedAndGiveZero)
{
    StyleParser2 parser;
    EXPECT_TRUE(parser.processString("A { a: rgb(1,2); b: rgba(1,2,3); c: rgb(1,2,3,4); }"));
    ASSERT_EQ(parser.styles().size(), 1U);
    for (const auto& property : parser.styles()[0].properties) {
        EXPECT_EQ(property.value, (Value{0U, Property::UnitColor})) << property.name.str();
    }
    EXPECT_EQ(stringErrors(parser), (std::vector<std::pair<std::int32_t, std::string>>(
                                        3, {1, "PARSER ERROR at line 1: invalid color declaration"})));
}

TEST(StyleParserValues, HexValuesBeyondThirtyTwoBitsAreAnError)
{
    StyleParser2 parser;
    parser.processString("A { a: #1FFFFFFFF; b: 1 }");
    EXPECT_TRUE(parser.styles().empty());
    EXPECT_EQ(stringErrors(parser),
              (std::vector<std::pair<std::int32_t, std::string>>{
                  {1, "PARSER ERROR at line 1: Expecting hexadecimal digits (at most FFFFFFFF)"}}));
}

TEST(StyleParserValues, NumbersAreIntegersOnlyWhenTheyEndTheDeclaration)
{
    EXPECT_EQ(valueOf("-1px"), (Value{-1, Property::UnitPx}));
    EXPECT_EQ(valueOf("10"), (Value{10, Property::UnitNone}));
    EXPECT_EQ(valueOf("10 %;"), (Value{10, Property::UnitPercent}));
    EXPECT_EQ(valueOf("1.5px"), (Value{1.5F, Property::UnitPx}));
    EXPECT_EQ(valueOf("-.25%"), (Value{-0.25F, Property::UnitPercent}));
    // Too large for 32 bits: read as a float instead.
    EXPECT_EQ(valueOf("3000000000"), (Value{3e9F, Property::UnitNone}));

    StyleParser2 parser;
    parser.processString("A { a: 16}");
    ASSERT_EQ(parser.styles().size(), 1U);
    EXPECT_EQ(parser.styles()[0].properties[0].value, (Value{16, Property::UnitNone}));
}

TEST(StyleParserValues, OnlyTrueAndFalseAreBooleans)
{
    EXPECT_EQ(valueOf("true"), (Value{true, Property::UnitBool}));
    EXPECT_EQ(valueOf("false;"), (Value{false, Property::UnitBool}));
    EXPECT_EQ(valueOf("no"), (Value{std::string("no"), Property::UnitString}));
    EXPECT_EQ(valueOf("trueColor"), (Value{std::string("trueColor"), Property::UnitString}));
    EXPECT_EQ(valueOf("nan"), (Value{std::string("nan"), Property::UnitString}));
    EXPECT_EQ(valueOf("inf"), (Value{std::string("inf"), Property::UnitString}));
    EXPECT_EQ(valueOf("_center-left2"), (Value{std::string("_center-left2"), Property::UnitString}));
}

TEST(StyleParserValues, UrlsKeepTheQuotedTextAsItIs)
{
    EXPECT_EQ(valueOf("url ( \"Bg_Overlay_FU.png\" )"), (Value{std::string("Bg_Overlay_FU.png"), Property::UnitUrl}));
    EXPECT_EQ(valueOf("URL('a \"b\" \xC3\xA9.png')"), (Value{std::string("a \"b\" \xC3\xA9.png"), Property::UnitUrl}));
}

const ParsedSelector& onlySelector(const StyleParser2& parser)
{
    static const ParsedSelector none;
    return parser.styles().size() == 1 && parser.styles()[0].selectors.size() == 1 ? parser.styles()[0].selectors[0]
                                                                                   : none;
}

std::string writtenStep(const SelectorStep& step)
{
    return step.type.str() + (step.style.empty() ? "" : "." + step.style.str()) +
           (step.id.empty() ? "" : "#" + step.id.str());
}

// The selector written back, leftmost step first ("::" for the child relation,
// a space for the descendant one), then "/" and the subject's seven states.
std::string writtenSelectorOf(const std::string& text)
{
    StyleParser2 parser;
    parser.processString(text);
    const auto& selector = onlySelector(parser);
    std::string written;
    for (auto ancestor = selector.ancestors.rbegin(); ancestor != selector.ancestors.rend(); ++ancestor) {
        written += writtenStep(ancestor->step) + (ancestor->child ? "::" : " ");
    }
    written += writtenStep(selector.subject) + "/";
    for (const auto state : selector.states) {
        written += std::to_string(state);
    }
    return written;
}

TEST(StyleParserSelectors, UniversalTypesAreEmptyAndSpacesMakeDescendants)
{
    EXPECT_EQ(writtenSelectorOf("*#DesignWidget * { a: b }"), "#DesignWidget /2222222");
    EXPECT_EQ(writtenSelectorOf("*#DesignWidget  /* x */\t* { a: b }"), "#DesignWidget /2222222");
    EXPECT_EQ(writtenSelectorOf("Bar#top  Button:down { a: b }"), "Bar#top Button/2212222");
}

TEST(StyleParserSelectors, TemplateTypesStylesIdsAndRelations)
{
    EXPECT_EQ(writtenSelectorOf("tree< Bar >.Design::Bar#widgets  Button:selected:over\n{ a: b }"),
              "tree<Bar>.Design::Bar#widgets Button/2121222");
    EXPECT_EQ(writtenSelectorOf("A :: B\n::\tC.s#i { a: b }"), "A::B::C.s#i/2222222");
}

TEST(StyleParserSelectors, StatesOfTheSubjectOnlyAndTheLastWordWins)
{
    EXPECT_EQ(writtenSelectorOf("A:down B:!enabled:selected:unknown::C:focus:!focus:!input:!enabled { a: b }"),
              "A B::C/0222002");
}

TEST(StyleParserSelectors, AttributeConditionsByNameAndRule)
{
    StyleParser2 parser;
    parser.processString("Bar[ background=error ][background!=x][product^=S0][a$=b][a*=c][a=d][a=e] { p: q }");
    const auto& step = onlySelector(parser).subject;
    using Rules = std::map<AttibuteSelector::eRule, std::string>;
    EXPECT_EQ(step.attributes.at(PooledName("background")),
              (Rules{{AttibuteSelector::RuleEqual, "error"}, {AttibuteSelector::RuleNotEqual, "x"}}));
    EXPECT_EQ(step.attributes.at(PooledName("product")), (Rules{{AttibuteSelector::RuleBeginsWith, "S0"}}));
    EXPECT_EQ(step.attributes.at(PooledName("a")), (Rules{{AttibuteSelector::RuleEndsWith, "b"},
                                                          {AttibuteSelector::RuleContains, "c"},
                                                          {AttibuteSelector::RuleEqual, "e"}}));
}

TEST(StyleParserStyles, SelectorListsOverSeveralLinesTakeTheFirstLine)
{
    StyleParser2 parser;
    parser.processString("// styles\n\n"
                         "Button#FirmwareUpdaterButtonAction:!enabled,\n"
                         "\tButton#FirmwareUpdaterButtonQuit:!enabled ,\n"
                         "  Bar\n"
                         "{\n"
                         "  font-color: $missing;\n"
                         "  opacity: 50%\n"
                         "}\n"
                         "/* two\n lines */ A { a: b } B\n{ c: d }");
    ASSERT_EQ(parser.styles().size(), 3U);
    const auto& list = parser.styles()[0];
    EXPECT_EQ(list.line, 3);
    ASSERT_EQ(list.selectors.size(), 3U);
    EXPECT_EQ(list.selectors[1].subject.id, PooledName("FirmwareUpdaterButtonQuit"));
    EXPECT_EQ(list.selectors[1].states[StateEnabled], StateMustNotHold);
    EXPECT_EQ(list.properties[0].value, Value{});
    EXPECT_EQ(parser.styles()[1].line, 11);
    EXPECT_EQ(parser.styles()[2].line, 11);
    EXPECT_EQ(stringErrors(parser), (std::vector<std::pair<std::int32_t, std::string>>{
                                        {7, "PARSER ERROR at line 7: use of undefined constant missing"}}));
}

TEST(StyleParserStyles, EmptyBlocksAreDroppedSilently)
{
    StyleParser2 parser;
    EXPECT_TRUE(parser.processString("A { }\nB {\n\n}\nC{;}\nD { a: b; }"));
    ASSERT_EQ(parser.styles().size(), 1U);
    EXPECT_EQ(parser.styles()[0].line, 6);
    EXPECT_TRUE(parser.errorLog().empty());
}

TEST(StyleParserStyles, LineEndsOfEveryKindCountOnce)
{
    StyleParser2 parser;
    parser.processString("\r\n\r/*\r\n\n*/\nA // }\r\n{ a: b }");
    ASSERT_EQ(parser.styles().size(), 1U);
    EXPECT_EQ(parser.styles()[0].line, 6);
}

TEST(StyleParserStyles, TheUpdatersOwnStylesheetLines)
{
    StyleParser2 parser;
    EXPECT_TRUE(parser.processString("@define $colorButtonFont rgba( 16, 35, 49, 230 ); //button colors\n"
                                     "Bar#FirmwareUpdaterTitlePanel // was: Bar#DazevaZadivevTitlePanel\n"
                                     "{\n"
                                     "\timage: url( \"Bg_Header_FU.png\" );\n"
                                     "\touter-margin: 9px;\n"
                                     "}\n"
                                     "Bar#FirmwareUpdaterInfoPanel[ background=error ]\n"
                                     "{\n"
                                     "\tanimation-index: 0;\n"
                                     "\tbackground-color: rgba (0,0,0,128);\n"
                                     "\tfont-color: $colorButtonFont;\n"
                                     "}\n"));
    EXPECT_TRUE(parser.errorLog().empty());
    ASSERT_EQ(parser.styles().size(), 2U);
    EXPECT_EQ(parser.styles()[0].line, 2);
    EXPECT_EQ(parser.styles()[1].line, 7);
    EXPECT_EQ(Testing::propertyNames(parser),
              (std::vector<std::vector<std::string>>{{"image", "outer-margin"},
                                                     {"animation-index", "background-color", "font-color"}}));
    EXPECT_EQ(parser.styles()[0].properties[1].value, (Value{9, Property::UnitPx}));
    EXPECT_EQ(parser.styles()[1].properties[2].value, (Value{0xE6102331U, Property::UnitColor}));
}

TEST(StyleParserConstants, FirstDefinitionStaysAndConstantsMayUseConstants)
{
    StyleParser2 parser;
    parser.processString("@define $a 5px;\n@define $b $a;\n\n@define $a true ;\nA { p: $b }");
    EXPECT_EQ(parser.constants().at("a"), (Value{5, Property::UnitPx}));
    EXPECT_EQ(parser.constants().at("b"), (Value{5, Property::UnitPx}));
    EXPECT_EQ(valueOf("$b"), Value{});
    ASSERT_EQ(parser.styles().size(), 1U);
    EXPECT_EQ(parser.styles()[0].properties[0].value, (Value{5, Property::UnitPx}));
    EXPECT_EQ(stringErrors(parser), (std::vector<std::pair<std::int32_t, std::string>>{
                                        {4, "PARSER ERROR at line 4: constant already defined"}}));
}

} // namespace
} // namespace Trellis
