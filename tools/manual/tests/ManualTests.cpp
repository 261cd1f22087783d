#include "HelpWriter.h"
#include "ManualSource.h"
#include "Markup.h"
#include "RoffWriter.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

using namespace Manual;

constexpr std::string_view Source = R"(# a comment
tvs-example - check FILE for errors

SYNOPSIS
  tvs-example [--strict] FILE...
  tvs-example --help

DESCRIPTION [help]
  Checks each FILE.

  More about checking, for the page only.

OPTIONS [help: Options]
  --strict
      also report what is only doubtful

      The page alone says more.
  --a-very-long-option-name=VALUE
      a description long enough to be wrapped onto a second line of the help text at 79

  A closing paragraph.

EXIT STATUS
  0
      no error
)";

Page parsed(std::string_view text, const Lists& lists = {})
{
    ParsedPage result = parsePage(text, lists);
    EXPECT_EQ(result.error, "") << "line " << result.errorLine;
    return std::move(result.page);
}

} // namespace

TEST(ManualSource, ReadsSectionsItemsAndParagraphs)
{
    const Page page = parsed(Source);
    EXPECT_EQ(page.name, "tvs-example");
    EXPECT_EQ(page.summary, "check FILE for errors");
    EXPECT_EQ(page.synopsis, (std::vector<std::string>{"tvs-example [--strict] FILE...", "tvs-example --help"}));
    ASSERT_EQ(page.sections.size(), 3u);
    EXPECT_TRUE(page.sections[0].inHelp);
    EXPECT_EQ(page.sections[0].helpHeading, "");
    EXPECT_EQ(page.sections[1].helpHeading, "Options");
    EXPECT_FALSE(page.sections[2].inHelp);
    const auto& options = page.sections[1].blocks;
    ASSERT_EQ(options.size(), 3u);
    EXPECT_EQ(options[0].term, "--strict");
    EXPECT_EQ(options[0].paragraphs,
              (std::vector<std::string>{"also report what is only doubtful", "The page alone says more."}));
    EXPECT_EQ(options[2].term, "");
    EXPECT_EQ(options[2].paragraphs, (std::vector<std::string>{"A closing paragraph."}));
}

TEST(ManualSource, TakesInListsAndSharedSections)
{
    const ParsedPage shared = parseShared("DEVICE ACCESS\n  Shared text.\n");
    ASSERT_EQ(shared.error, "");
    const Lists lists{{"scenarios", {{"no-device", {"no device on the bus"}}}},
                      {"device access", shared.page.sections[0].blocks}};
    const Page page = parsed("p - s\nSYNOPSIS\n  p\nSCENARIOS\n  [scenarios]\nACCESS\n  [device access]\n", lists);
    EXPECT_EQ(page.sections[0].blocks[0].term, "no-device");
    EXPECT_EQ(page.sections[1].blocks[0].paragraphs[0], "Shared text.");
}

TEST(ManualSource, ReportsWhatIsWrongAndWhere)
{
    const std::pair<std::string_view, int> cases[] = {
        {"p - s\nSYNOPSIS\n\tp\n", 3},
        {"p - s\n  text\n", 2},
        {"p - s\nSYNOPSIS\n  p\nOPTIONS\n\n      description\n", 6},
        {"p - s\nSYNOPSIS\n  p\nOPTIONS [help: x\n  text\n", 4},
        {"p - s\nSYNOPSIS\n  p\nOPTIONS\n  [missing]\n", 5},
        {"p - s\nOPTIONS\n  text\n", 4},
        {"p without a summary\n", 1},
    };
    for (const auto& [text, line] : cases) {
        const ParsedPage result = parsePage(text);
        EXPECT_NE(result.error, "") << text;
        EXPECT_EQ(result.errorLine, line) << text;
    }
}

TEST(HelpText, ShowsTheMarkedSectionsAlignedAndWrapped)
{
    EXPECT_EQ(helpText(parsed(Source)),
              "Usage: tvs-example [--strict] FILE...\n"
              "       tvs-example --help\n"
              "\n"
              "Checks each FILE.\n"
              "\n"
              "Options:\n"
              "  --strict  also report what is only doubtful\n"
              "  --a-very-long-option-name=VALUE\n"
              "            a description long enough to be wrapped onto a second line of the\n"
              "            help text at 79\n");
}

TEST(Markup, MarksLiteralsAndPlaceholders)
{
    EXPECT_EQ(roffLiteral("--simulate[=SCENARIO]"), "\\fB\\-\\-simulate\\fR[\\fB=\\fISCENARIO\\fR]");
    EXPECT_EQ(roffLiteral("FILE... README.md"), "\\fIFILE\\fR... \\fBREADME.md\\fR");
    EXPECT_EQ(roffVariables("DISPLAY, TVS_X=FILE"), "\\fBDISPLAY\\fR, \\fBTVS_X=\\fIFILE\\fR");
    EXPECT_EQ(roffText("see `-y` and tvs-updater(1)"), "see \\fB\\-y\\fR and \\fBtvs\\-updater\\fR(1)");
    EXPECT_EQ(roffText("a back\\slash, 5 \xC2\xB5s, it's"), "a back\\eslash, 5 \\[u00B5]s, it's");
    EXPECT_EQ(plainText("use `--yes`"), "use --yes");
}

TEST(RoffPage, WritesTheMacrosOfEachPart)
{
    const std::string page = manualPage(parsed(Source), "TVS Updater 1.1.0");
    EXPECT_EQ(page.substr(0, page.find(".SH DESCRIPTION")),
              ".TH TVS\\-EXAMPLE 1 \"\" \"TVS Updater 1.1.0\"\n.ad l\n.nh\n"
              ".SH NAME\ntvs\\-example \\- check FILE for errors\n"
              ".SH SYNOPSIS\n\\fBtvs\\-example\\fR [\\fB\\-\\-strict\\fR] \\fIFILE\\fR...\n.br\n"
              "\\fBtvs\\-example\\fR \\fB\\-\\-help\\fR\n");
    EXPECT_NE(page.find(".SH DESCRIPTION\nChecks each FILE.\n.PP\nMore about"), std::string::npos);
    EXPECT_NE(page.find(".TP\n\\fB\\-\\-strict\\fR\nalso report what is only doubtful\n.IP\nThe page alone"),
              std::string::npos);
    EXPECT_NE(page.find("at 79\n.PP\nA closing paragraph.\n.SH EXIT STATUS\n.TP\n\\fB0\\fR\nno error\n"),
              std::string::npos);
}

TEST(RoffPage, KeepsTextLinesFromBeingReadAsRequests)
{
    const std::string page = manualPage(parsed("p - s\nSYNOPSIS\n  p\nFILES\n  .profile is read\n"), "f");
    EXPECT_NE(page.find("\n\\&.profile is read\n"), std::string::npos);
}
