#include "Markup.h"

#include <fmt/format.h>

#include <algorithm>
#include <cstdint>
#include <regex>
#include <utility>
#include <vector>

namespace Manual {
namespace {

enum class eFont { Roman, Bold, Italic };

bool isWordCharacter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

bool isPlaceholder(std::string_view word)
{
    return word.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ") == std::string_view::npos;
}

bool describesCommandLine(std::string_view text, std::size_t at)
{
    static constexpr std::string_view Ellipsis = "...";
    if (std::string_view(" []{}|,").find(text[at]) != std::string_view::npos) {
        return true;
    }
    for (std::size_t start = at >= 2 ? at - 2 : 0; start <= at; ++start) {
        if (text.substr(start, Ellipsis.size()) == Ellipsis) {
            return true;
        }
    }
    return false;
}

// The font of every byte of a literal; placeholders start at placeholdersFrom.
std::vector<eFont> literalFonts(std::string_view text, std::size_t placeholdersFrom)
{
    std::vector<eFont> fonts(text.size(), eFont::Bold);
    for (std::size_t at = 0; at < text.size();) {
        if (!isWordCharacter(text[at])) {
            fonts[at] = describesCommandLine(text, at) ? eFont::Roman : eFont::Bold;
            ++at;
            continue;
        }
        std::size_t end = at;
        while (end < text.size() && isWordCharacter(text[end])) {
            ++end;
        }
        // A file name such as README.md is typed as it stands.
        const bool fileName = end + 1 < text.size() && text[end] == '.' && isWordCharacter(text[end + 1]);
        if (at >= placeholdersFrom && !fileName && isPlaceholder(text.substr(at, end - at))) {
            std::fill(fonts.begin() + static_cast<std::ptrdiff_t>(at), fonts.begin() + static_cast<std::ptrdiff_t>(end),
                      eFont::Italic);
        }
        at = end;
    }
    return fonts;
}

// The code point of the UTF-8 sequence at text[at], and how long it is.
std::pair<char32_t, std::size_t> decodeUtf8(std::string_view text, std::size_t at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    char32_t code = length == 1 ? lead : lead & (0x3F >> (length - 1));
    for (std::size_t next = 1; next < length && at + next < text.size(); ++next) {
        code = (code << 6) | (static_cast<unsigned char>(text[at + next]) & 0x3F);
    }
    return {code, length};
}

// Appends the roff for the character at text[at]; returns the bytes it took.
std::size_t appendEscaped(std::string& out, std::string_view text, std::size_t at, bool literal)
{
    const char c = text[at];
    if (static_cast<unsigned char>(c) >= 0x80) {
        const auto [code, length] = decodeUtf8(text, at);
        out += fmt::format("\\[u{:04X}]", static_cast<std::uint32_t>(code));
        return length;
    }
    if (c == '\\') {
        out += "\\e";
    } else if (c == '-' && literal) {
        out += "\\-";
    } else if (c == '\'' && literal) {
        out += "\\(aq";
    } else {
        out += c;
    }
    return 1;
}

std::string_view fontEscape(eFont font)
{
    switch (font) {
    case eFont::Bold: return "\\fB";
    case eFont::Italic: return "\\fI";
    case eFont::Roman: break;
    }
    return "\\fR";
}

std::string escaped(std::string_view text, bool literal)
{
    std::string out;
    for (std::size_t at = 0; at < text.size();) {
        at += appendEscaped(out, text, at, literal);
    }
    return out;
}

std::string literalFrom(std::string_view text, std::size_t placeholdersFrom)
{
    const std::vector<eFont> fonts = literalFonts(text, placeholdersFrom);
    std::string out;
    eFont current = eFont::Roman;
    for (std::size_t at = 0; at < text.size();) {
        if (fonts[at] != current) {
            current = fonts[at];
            out += fontEscape(current);
        }
        at += appendEscaped(out, text, at, true);
    }
    if (current != eFont::Roman) {
        out += fontEscape(eFont::Roman);
    }
    return out;
}

// Running text without literals; marks references to manual pages.
std::string roffProse(const std::string& text)
{
    static const std::regex Reference(R"(([a-z][a-z0-9_.-]*)\(([1-9])\))");
    std::string out;
    std::size_t done = 0;
    for (auto match = std::sregex_iterator(text.begin(), text.end(), Reference); match != std::sregex_iterator();
         ++match) {
        const auto position = static_cast<std::size_t>(match->position());
        out += escaped(std::string_view(text).substr(done, position - done), false);
        out += roffLiteral(match->str(1)) + "(" + match->str(2) + ")";
        done = position + static_cast<std::size_t>(match->length());
    }
    return out + escaped(std::string_view(text).substr(done), false);
}

} // namespace

std::string plainText(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        if (c != '`') {
            out += c;
        }
    }
    return out;
}

std::string roffText(std::string_view text)
{
    std::string out;
    bool literal = false;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find('`', start), text.size());
        const std::string piece(text.substr(start, end - start));
        out += literal ? roffLiteral(piece) : roffProse(piece);
        literal = !literal;
        start = end + 1;
    }
    return out;
}

std::string roffEscaped(std::string_view text)
{
    return escaped(text, true);
}

std::string roffLiteral(std::string_view text)
{
    return literalFrom(text, 0);
}

std::string roffVariables(std::string_view text)
{
    return literalFrom(text, std::min(text.find('='), text.size()));
}

} // namespace Manual
