#include "HelpWriter.h"

#include "Markup.h"

#include <algorithm>

namespace Manual {
namespace {

constexpr std::size_t LineWidth = 79;
constexpr std::size_t SectionIndent = 2;
constexpr std::size_t Gap = 2;
// A longer term stands on a line of its own, above its description.
constexpr std::size_t WidestTermColumn = 24;

// The width of UTF-8 text on a terminal, one column a character.
std::size_t columns(std::string_view text)
{
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// Appends text wrapped at LineWidth, every line indented by indent columns;
// the first line continues a line that is already firstColumn wide.
void appendWrapped(std::string& out, std::string_view text, std::size_t indent, std::size_t firstColumn)
{
    std::size_t column = firstColumn;
    bool lineEmpty = true;
    out.append(indent > column ? indent - column : 0, ' ');
    column = std::max(column, indent);
    while (!text.empty()) {
        const std::size_t space = std::min(text.find(' '), text.size());
        const std::string_view word = text.substr(0, space);
        text.remove_prefix(std::min(space + 1, text.size()));
        if (word.empty()) {
            continue;
        }
        if (!lineEmpty && column + 1 + columns(word) > LineWidth) {
            out += "\n" + std::string(indent, ' ');
            column = indent;
            lineEmpty = true;
        }
        if (!lineEmpty) {
            out += ' ';
            ++column;
        }
        out += word;
        column += columns(word);
        lineEmpty = false;
    }
    out += '\n';
}

std::size_t descriptionColumn(const Section& section)
{
    std::size_t widest = 0;
    for (const Block& block : section.blocks) {
        const std::size_t width = columns(plainText(block.term));
        widest = width <= WidestTermColumn ? std::max(widest, width) : widest;
    }
    return SectionIndent + widest + Gap;
}

void appendItem(std::string& out, const Block& item, std::size_t column)
{
    const std::string term = std::string(SectionIndent, ' ') + plainText(item.term);
    out += term;
    const std::size_t width = columns(term);
    const bool ownLine = width + Gap > column;
    if (ownLine) {
        out += '\n';
    }
    appendWrapped(out, plainText(item.paragraphs.front()), column, ownLine ? 0 : width);
}

void appendSection(std::string& out, const Section& section)
{
    const std::size_t indent = section.helpHeading.empty() ? 0 : SectionIndent;
    if (!section.helpHeading.empty()) {
        out += plainText(section.helpHeading) + ":\n";
    }
    if (section.blocks.front().term.empty()) {
        appendWrapped(out, plainText(section.blocks.front().paragraphs.front()), indent, 0);
    }
    const std::size_t column = descriptionColumn(section);
    for (const Block& block : section.blocks) {
        if (!block.term.empty()) {
            appendItem(out, block, column);
        }
    }
}

} // namespace

std::string helpText(const Page& page)
{
    std::string out;
    for (const std::string& form : page.synopsis) {
        out += (out.empty() ? "Usage: " : "       ") + plainText(form) + "\n";
    }
    for (const Section& section : page.sections) {
        if (section.inHelp) {
            out += '\n';
            appendSection(out, section);
        }
    }
    return out;
}

} // namespace Manual
