#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

// The text from which a program's --help and its manual page are both made.
//
//   # a comment
//   tvs-example - one line on what the program is for
//
//   SYNOPSIS
//     tvs-example [--flag] FILE...
//
//   OPTIONS [help: Options]
//     --flag
//         what the flag does, in a few words
//
//         More about the flag, for the manual page only.
//
//   FILES
//     A paragraph.
//
// A line at the start of the line is a section heading. "[help]" after it
// puts the section into --help, "[help: Heading]" does so under that heading.
// Section text is indented by two spaces; a line indented by two spaces
// that is followed directly by a line indented further is the term of an
// item, and the further indented lines are its description. Blank lines part
// paragraphs. --help shows, of a section marked for it, the paragraph it
// begins with and every item with the first paragraph of its description;
// the manual page shows everything. Each line of SYNOPSIS is one form of the
// command line; --help always shows them, as "Usage:".
//
// In text, `literal` marks what is typed or printed as it stands. In terms,
// in the synopsis and in literals, a word of capital letters alone (FILE,
// SCENARIO) stands for something the user supplies; in the terms of
// ENVIRONMENT the names of the variables never do.
//
// A line such as "  [scenarios]" stands for the blocks of the list of that
// name, which the generator supplies: the simulator's scenarios, and the
// sections of a shared text (parseShared), each named by its heading in
// small letters.
namespace Manual {

// One paragraph of text (no term) or an item (a term and its description).
struct Block {
    std::string term;
    std::vector<std::string> paragraphs;
};

struct Section {
    std::string title;
    bool inHelp = false;
    std::string helpHeading;
    std::vector<Block> blocks;
};

struct Page {
    std::string name;
    std::string summary;
    std::vector<std::string> synopsis;
    std::vector<Section> sections;
};

struct ParsedPage {
    Page page;
    // Empty when the text was read; else what is wrong, and on which line.
    std::string error;
    int errorLine = 0;
};

using Lists = std::map<std::string, std::vector<Block>, std::less<>>;

ParsedPage parsePage(std::string_view text, const Lists& lists = {});
// A text of sections alone, without the name line and SYNOPSIS, that several
// pages share.
ParsedPage parseShared(std::string_view text);

} // namespace Manual
