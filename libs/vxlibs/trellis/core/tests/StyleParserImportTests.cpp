#include "StyleParserTestSupport.h"
#include "TestResources.h"

#include <trellis/ManagerContainer.h>
#include <trellis/StyleManager.h>
#include <trellis/StyleParser2.h>

#include <gtest/gtest.h>

#include <string>

namespace Trellis {
namespace {

using Testing::propertyNames;
using Testing::TemporaryDirectory;
using Names = std::vector<std::vector<std::string>>;
using Errors = std::vector<std::pair<std::int32_t, std::string>>;

std::vector<unsigned char> bytesOf(const std::string& text)
{
    return {text.begin(), text.end()};
}

class StyleParserImport : public testing::Test {
protected:
    std::string file(const std::string& name, const std::string& text)
    {
        directory.write(name, bytesOf(text));
        return (directory.path() / name).string();
    }

    Errors errorsOf(const std::string& path) const
    {
        const auto found = parser.errorLog().find(path);
        return found != parser.errorLog().end() ? found->second : Errors{};
    }

    TemporaryDirectory directory;
    StyleParser2 parser;
};

TEST_F(StyleParserImport, ConstantsAndStylesFlowBothWaysInWrittenOrder)
{
    file("sub/b.txt", "B { q: $c }\n@define $d true;\n@import url(\"c.txt\");");
    file("sub/c.txt", "C { r: $d }");
    const auto main = file("main.txt", "@define $c 1px;\n@import url(\"sub/b.txt\");\nA { p: $d }");

    EXPECT_TRUE(parser.processFile(main));
    EXPECT_TRUE(parser.errorLog().empty());
    EXPECT_EQ(propertyNames(parser), (Names{{"q"}, {"r"}, {"p"}}));
    EXPECT_EQ(parser.styles()[0].properties[0].value, (tPropertyValue{1, Property::UnitPx}));
    EXPECT_EQ(parser.styles()[2].properties[0].value, (tPropertyValue{true, Property::UnitBool}));
    EXPECT_EQ(parser.styles()[2].line, 3);
    EXPECT_EQ(parser.importedSet(), (std::set<std::string>{(directory.path() / "sub/b.txt").generic_string(),
                                                           (directory.path() / "sub/c.txt").generic_string()}));
}

TEST_F(StyleParserImport, ASecondImportOfAFileIsRecursiveWhateverItsSpelling)
{
    const auto a = file("a.txt", "@import url('b.txt');\nA { a: b }");
    const auto b = file("b.txt", "\n@import url(\"./sub/..\\a.txt\");\nB { c: d }");
    const auto main = file("main.txt", "@import url('a.txt');\n@import url(\"a.txt\");");

    EXPECT_TRUE(parser.processFile(main));
    EXPECT_EQ(propertyNames(parser), (Names{{"c"}, {"a"}}));
    EXPECT_EQ(errorsOf(main), (Errors{{2, "PARSER ERROR at line 2: recursive import of stylesheet a.txt"}}));
    EXPECT_EQ(errorsOf(b), (Errors{{2, "PARSER ERROR at line 2: recursive import of stylesheet ./sub/..\\a.txt"}}));
    EXPECT_EQ(parser.errorLog().size(), 2U);
}

TEST_F(StyleParserImport, FailedImportsAreReportedAndMayBeTriedAgain)
{
    const auto wide = file("wide.txt", std::string("\xFF\xFE" "A\0{\0}\0", 8));
    const auto main = file("main.txt", "@import url(\"missing.txt\");\n@import url(\"missing.txt\");\n"
                                       "@import url('wide.txt');\nA { a: b }");

    EXPECT_TRUE(parser.processFile(main));
    EXPECT_EQ(errorsOf(main), (Errors{{1, "PARSER ERROR at line 1: Failed to import stylesheet missing.txt"},
                                      {2, "PARSER ERROR at line 2: Failed to import stylesheet missing.txt"},
                                      {3, "PARSER ERROR at line 3: Failed to import stylesheet wide.txt"}}));
    EXPECT_EQ(errorsOf(wide), (Errors{{0, "Unsupported buffer encoding"}}));
    EXPECT_TRUE(parser.importedSet().empty());
    EXPECT_EQ(propertyNames(parser), (Names{{"a"}}));
}

TEST_F(StyleParserImport, AbsolutePathsAreFilesEvenFromAString)
{
    const auto other = file("other.txt", "O { o: p }");
    EXPECT_TRUE(parser.processString("@import url(\"" + other + "\");"));
    EXPECT_EQ(propertyNames(parser), (Names{{"o"}}));
    EXPECT_FALSE(parser.processFile((directory.path() / "none.txt").string()));
}

// A sparse file's length is not allocated.
TEST_F(StyleParserImport, AFileLargerThanAStylesheetMayBeIsRefusedUnread)
{
    const auto huge = file("huge.txt", "H { h: i }");
    std::filesystem::resize_file(huge, std::uintmax_t{1} << 32);
    EXPECT_FALSE(parser.processFile(huge));
    EXPECT_EQ(errorsOf(huge), (Errors{{0, "stylesheet too large (4294967296 bytes, at most 8388608)"}}));
}

TEST(StyleParserResourceImport, RelativeImportsAreResourcesOfTheOwner)
{
    Testing::TestModule table;
    table.add("STYLESHEET", "BASE.TXT", bytesOf("@define $base 3;\nBase { a: b }"));
    const auto module = table.module();
    ManagerContainer container(module);
    StyleManager manager(container);
    StyleParser2 parser(&manager);
    Testing::WarningCollector collector;

    // A file outside the owner's stylesheets is never read.
    TemporaryDirectory directory;
    directory.write("outside.txt", bytesOf("Outside { o: p }"));
    const auto outside = (directory.path() / "outside.txt").string();

    EXPECT_TRUE(parser.processString("@import url(\"base.txt\");\n@import url(\"gone.txt\");\nA { n: $base }\n"
                                     "@import url('" + outside + "');"));
    EXPECT_EQ(propertyNames(parser), (Names{{"a"}, {"n"}}));
    EXPECT_EQ(parser.importedSet(), (std::set<std::string>{"base.txt"}));
    EXPECT_EQ(Testing::stringErrors(parser),
              (Errors{{2, "PARSER ERROR at line 2: Failed to import stylesheet gone.txt"},
                      {4, "PARSER ERROR at line 4: import of stylesheet " + outside
                              + " from outside the style set refused"}}));
    ASSERT_EQ(collector.warnings.size(), 3U);
    EXPECT_EQ(collector.warnings[1], "Stylesheet error: (StyleParser2::processString):2 - PARSER ERROR at line 2: "
                                     "Failed to import stylesheet gone.txt");
}

} // namespace
} // namespace Trellis
