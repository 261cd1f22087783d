#include "RoffWriter.h"

#include "Markup.h"

#include <algorithm>
#include <cctype>

namespace Manual {
namespace {

// A text line that starts with a dot or an apostrophe would be read as a
// request.
void appendTextLine(std::string& out, const std::string& line)
{
    if (line.starts_with('.') || line.starts_with('\'')) {
        out += "\\&";
    }
    out += line + "\n";
}

std::string quoted(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text) {
        out += c == '"' ? std::string("\\(dq") : std::string(1, c);
    }
    return out + "\"";
}

std::string upperCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

void appendBlock(std::string& out, const Block& block, bool first, bool namesVariables)
{
    if (block.term.empty()) {
        out += first ? "" : ".PP\n";
        appendTextLine(out, roffText(block.paragraphs.front()));
        return;
    }
    out += ".TP\n";
    appendTextLine(out, namesVariables ? roffVariables(block.term) : roffLiteral(block.term));
    for (std::size_t index = 0; index < block.paragraphs.size(); ++index) {
        out += index == 0 ? "" : ".IP\n";
        appendTextLine(out, roffText(block.paragraphs[index]));
    }
}

void appendSection(std::string& out, const Section& section)
{
    out += ".SH " + section.title + "\n";
    bool first = true;
    for (const Block& block : section.blocks) {
        appendBlock(out, block, first, section.title == "ENVIRONMENT");
        first = false;
    }
}

} // namespace

std::string manualPage(const Page& page, std::string_view footer)
{
    std::string out = ".TH " + roffEscaped(upperCase(page.name)) + " 1 \"\" " + quoted(footer) + "\n";
    // Ragged right and no hyphenation: option names and paths stay whole.
    out += ".ad l\n.nh\n";
    out += ".SH NAME\n";
    appendTextLine(out, roffEscaped(page.name) + " \\- " + roffText(page.summary));
    out += ".SH SYNOPSIS\n";
    for (std::size_t index = 0; index < page.synopsis.size(); ++index) {
        out += index == 0 ? "" : ".br\n";
        appendTextLine(out, roffLiteral(page.synopsis[index]));
    }
    for (const Section& section : page.sections) {
        appendSection(out, section);
    }
    return out;
}

} // namespace Manual
