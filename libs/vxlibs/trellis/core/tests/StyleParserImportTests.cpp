#include "StyleParserTestSupport.h"
#include "TestResources.h"

#include <trellis/ManagerContainer.h>
#include <trellis/StyleManager.h>
#include <trellis/StyleParser2.h>

#include <fmt/format.h>
#include <gtest/gtest.h>

#include <map>
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

    Errors errorsOf(const std::string& path) const { return errorsOf(parser, path); }

    static Errors errorsOf(const StyleParser2& parser, const std::string& path)
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

struct tImportCase {
    const char* name;
    std::vector<std::pair<std::string, std::string>> files;  // main.txt is parsed
    Names styles;
    std::map<std::string, Errors> errors;  // by file
};

// Only a file on the chain of imports that leads to the @import is recursive
// (main.txt included); one imported again elsewhere is read only the first
// time, its constants defined once.
const tImportCase ImportCases[] = {
    {"diamond",
     {{"main.txt", "@import url('b.txt');\n@import url('c.txt');\nM { m: $x }"},
      {"b.txt", "@import url('d.txt');\nB { b: $x }"},
      {"c.txt", "@import url(\"./d.txt\");\nC { c: $x }"},
      {"d.txt", "@define $x 1px;\nD { d: e }"}},
     {{"d"}, {"b"}, {"c"}, {"m"}},
     {}},
    {"twice in a row",
     {{"main.txt", "@import url('a.txt');\n@import url(\"a.txt\");"}, {"a.txt", "A { a: b }"}},
     {{"a"}},
     {}},
    {"cycle, whatever its spelling",
     {{"main.txt", "@import url('a.txt');"},
      {"a.txt", "@import url('b.txt');\nA { a: b }"},
      {"b.txt", "\n@import url(\"./sub/..\\a.txt\");\nB { c: d }"}},
     {{"c"}, {"a"}},
     {{"b.txt", {{2, "PARSER ERROR at line 2: recursive import of stylesheet ./sub/..\\a.txt"}}}}},
    {"back to the first",
     {{"main.txt", "@import url('a.txt');\nM { m: n }"}, {"a.txt", "@import url('main.txt');\nA { a: b }"}},
     {{"a"}, {"m"}},
     {{"a.txt", {{1, "PARSER ERROR at line 1: recursive import of stylesheet main.txt"}}}}},
    {"self",
     {{"main.txt", "A { a: b }\n@import url('main.txt');"}},
     {{"a"}},
     {{"main.txt", {{2, "PARSER ERROR at line 2: recursive import of stylesheet main.txt"}}}}},
};

TEST_F(StyleParserImport, OnlyAnImportOnItsOwnChainIsRecursive)
{
    for (const tImportCase& test : ImportCases) {
        const std::string folder = std::string(test.name) + "/";
        for (const auto& [name, text] : test.files) {
            file(folder + name, text);
        }
        StyleParser2 loaded;
        EXPECT_TRUE(loaded.processFile((directory.path() / folder / "main.txt").string())) << test.name;
        EXPECT_EQ(propertyNames(loaded), test.styles) << test.name;
        std::map<std::string, Errors> errors;
        for (const auto& [path, logged] : loaded.errorLog()) {
            const auto from = directory.path() / folder;
            errors[std::filesystem::path(path).lexically_normal().lexically_relative(from).generic_string()] = logged;
        }
        EXPECT_EQ(errors, test.errors) << test.name;
    }
}

// Each stylesheet holds a style before its import of the next.
std::vector<std::pair<std::string, std::string>> importChain(std::size_t length)
{
    std::vector<std::pair<std::string, std::string>> files{{"main.txt", "M { p: q }\n@import url('f1.txt');"}};
    for (std::size_t index = 1; index < length; ++index) {
        files.emplace_back(fmt::format("f{}.txt", index),
                           fmt::format("F {{ p: q }}\n@import url('f{}.txt');", index + 1));
    }
    files.emplace_back(fmt::format("f{}.txt", length), "F { p: q }");
    return files;
}

TEST_F(StyleParserImport, ImportsNestAsDeepAsTheLimitAndNoDeeper)
{
    constexpr std::size_t Limit = StyleParser2::MaxImportDepth;
    const std::string refusal = fmt::format("PARSER ERROR at line 2: import of stylesheet f{}.txt refused: imports "
                                            "nested more than {} deep", Limit + 1, Limit);
    for (const std::size_t length : {Limit, Limit + 1, Limit + 40}) {
        const std::string folder = fmt::format("{}/", length);
        for (const auto& [name, text] : importChain(length)) {
            file(folder + name, text);
        }
        StyleParser2 loaded;
        EXPECT_TRUE(loaded.processFile((directory.path() / folder / "main.txt").string()));
        EXPECT_EQ(loaded.styles().size(), Limit + 1) << length;
        const Errors expected = length == Limit ? Errors{} : Errors{{2, refusal}};
        EXPECT_EQ(errorsOf(loaded, (directory.path() / folder / fmt::format("f{}.txt", Limit)).string()), expected)
            << length;
        EXPECT_EQ(loaded.errorLog().size(), expected.size()) << length;
    }
}

TEST_F(StyleParserImport, OnceTheFileCountIsUsedUpLaterImportsArePassedOverWithOneError)
{
    constexpr std::size_t Limit = StyleParser2::MaxImportedFiles;
    std::string text;
    for (std::size_t index = 0; index < Limit + 3; ++index) {
        file(fmt::format("i{}.txt", index), "I { p: q }");
        text += fmt::format("@import url('i{}.txt');\n", index);
    }
    const auto main = file("main.txt", text + "M { m: n }");
    EXPECT_TRUE(parser.processFile(main));
    EXPECT_EQ(parser.styles().size(), Limit + 1);
    EXPECT_EQ(parser.styles().back().properties[0].name.str(), "m");
    const auto line = static_cast<std::int32_t>(Limit + 1);
    EXPECT_EQ(errorsOf(main), (Errors{{line, fmt::format("PARSER ERROR at line {}: import of stylesheet i{}.txt refused: "
                                                         "more than {} stylesheets imported", line, Limit, Limit)}}));
    EXPECT_EQ(parser.errorLog().size(), 1U);
}

// The files are links to one file of blanks, read in full each time.
TEST_F(StyleParserImport, OnceTheBytesAreUsedUpLaterImportsArePassedOverWithOneError)
{
    constexpr std::int64_t Size = 7 << 20;
    const auto blanks = file("blanks.txt", std::string(Size, ' '));
    std::string text;
    for (std::int64_t index = 0; index <= StyleParser2::MaxImportedBytes / Size + 1; ++index) {
        std::filesystem::create_hard_link(blanks, directory.path() / fmt::format("b{}.txt", index));
        text += fmt::format("@import url('b{}.txt');\n", index);
    }
    const auto main = file("main.txt", text + "M { m: n }");
    EXPECT_TRUE(parser.processFile(main));
    const std::int64_t fitting = StyleParser2::MaxImportedBytes / Size;
    const auto line = static_cast<std::int32_t>(fitting + 1);
    EXPECT_EQ(errorsOf(main), (Errors{{line, fmt::format("PARSER ERROR at line {}: import of stylesheet b{}.txt refused: "
                                                         "more than {} bytes imported", line, fitting,
                                                         StyleParser2::MaxImportedBytes)}}));
    EXPECT_EQ(parser.errorLog().size(), 1U);
    EXPECT_EQ(propertyNames(parser), (Names{{"m"}}));
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
