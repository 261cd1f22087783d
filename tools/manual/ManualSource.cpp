#include "ManualSource.h"

#include <algorithm>

namespace Manual {
namespace {

constexpr std::size_t TextIndent = 2;
constexpr std::string_view HelpMark = "[help]";
constexpr std::string_view HelpHeadingMark = "[help: ";

std::vector<std::string_view> splitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        lines.push_back(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return lines;
}

std::string_view trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool isComment(std::string_view line)
{
    return line.starts_with('#');
}

bool isTitle(std::string_view title)
{
    return !title.empty() && std::all_of(title.begin(), title.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || c == ' ';
    });
}

class Parser {
public:
    Parser(std::string_view text, const Lists& lists, bool shared)
        : lines_(splitLines(text)), lists_(lists), shared_(shared)
    {
    }

    ParsedPage run()
    {
        for (index_ = 0; index_ < lines_.size() && result_.error.empty(); ++index_) {
            readLine(lines_[index_]);
        }
        if (result_.error.empty()) {
            checkComplete();
        }
        return std::move(result_);
    }

private:
    void fail(std::string message)
    {
        result_.error = std::move(message);
        result_.errorLine = static_cast<int>(index_ + 1);
    }

    Page& page() { return result_.page; }

    // The indentation of the next line that is not a comment, or 0 when it
    // is blank or there is none.
    std::size_t nextIndent() const
    {
        for (std::size_t next = index_ + 1; next < lines_.size(); ++next) {
            if (!isComment(lines_[next])) {
                const std::size_t indent = lines_[next].find_first_not_of(' ');
                return indent == std::string_view::npos ? 0 : indent;
            }
        }
        return 0;
    }

    void readLine(std::string_view line)
    {
        if (isComment(line)) {
            return;
        }
        if (line.find('\t') != std::string_view::npos) {
            return fail("a tab: indent with spaces");
        }
        const std::size_t indent = line.find_first_not_of(' ');
        if (indent == std::string_view::npos) {
            lastIndent_ = 0;
            return;
        }
        if (page().name.empty() && !shared_) {
            return readNameLine(line);
        }
        if (indent == 0) {
            return readHeading(line);
        }
        if (section_ == nullptr && !inSynopsis_) {
            return fail("text before the first section heading");
        }
        if (indent < TextIndent) {
            return fail("text is indented by two spaces");
        }
        const std::string_view text = trimmed(line);
        if (inSynopsis_) {
            return readSynopsisLine(text, indent);
        }
        if (indent == TextIndent) {
            readText(text);
        } else {
            readDescription(text);
        }
        lastIndent_ = indent;
    }

    void readNameLine(std::string_view line)
    {
        const std::size_t dash = line.find(" - ");
        if (line.starts_with(' ') || dash == std::string_view::npos) {
            return fail("the first line is 'NAME - what the program is for'");
        }
        page().name = trimmed(line.substr(0, dash));
        page().summary = trimmed(line.substr(dash + 3));
    }

    void readHeading(std::string_view line)
    {
        const std::size_t mark = line.find(" [");
        Section section;
        section.title = trimmed(line.substr(0, mark));
        if (!isTitle(section.title)) {
            return fail("a section heading is written in capital letters");
        }
        if (mark != std::string_view::npos) {
            const std::string_view help = trimmed(line.substr(mark + 1));
            section.inHelp = true;
            if (help.starts_with(HelpHeadingMark) && help.ends_with(']')) {
                section.helpHeading = trimmed(help.substr(HelpHeadingMark.size(),
                                                          help.size() - HelpHeadingMark.size() - 1));
            } else if (help != HelpMark) {
                return fail("after a heading, only [help] or [help: Heading]");
            }
        }
        finishSection();
        inSynopsis_ = section.title == "SYNOPSIS";
        if (!inSynopsis_) {
            page().sections.push_back(std::move(section));
            section_ = &page().sections.back();
        }
        lastIndent_ = 0;
    }

    void readSynopsisLine(std::string_view text, std::size_t indent)
    {
        if (indent != TextIndent) {
            return fail("each line of SYNOPSIS is one form of the command line");
        }
        page().synopsis.emplace_back(text);
    }

    void readText(std::string_view text)
    {
        auto& blocks = section_->blocks;
        if (text.starts_with('[') && text.ends_with(']')) {
            readList(text.substr(1, text.size() - 2));
        } else if (nextIndent() > TextIndent) {
            blocks.push_back({std::string(text), {}});
        } else if (lastIndent_ == TextIndent && blocks.back().term.empty()) {
            blocks.back().paragraphs.back() += " " + std::string(text);
        } else {
            blocks.push_back({{}, {std::string(text)}});
        }
    }

    void readList(std::string_view name)
    {
        const auto list = lists_.find(name);
        if (list == lists_.end()) {
            return fail("there is no list named " + std::string(name));
        }
        section_->blocks.insert(section_->blocks.end(), list->second.begin(), list->second.end());
    }

    void readDescription(std::string_view text)
    {
        auto& blocks = section_->blocks;
        if (blocks.empty() || blocks.back().term.empty()) {
            return fail("indented further, but there is no term above");
        }
        auto& paragraphs = blocks.back().paragraphs;
        if (lastIndent_ > TextIndent) {
            paragraphs.back() += " " + std::string(text);
        } else {
            paragraphs.emplace_back(text);
        }
    }

    void finishSection()
    {
        if (section_ != nullptr && section_->blocks.empty()) {
            fail("the section " + section_->title + " is empty");
        }
    }

    void checkComplete()
    {
        finishSection();
        if (shared_ || !result_.error.empty()) {
            return;
        }
        if (page().name.empty()) {
            fail("the text is empty");
        } else if (page().synopsis.empty()) {
            fail("there is no SYNOPSIS");
        }
    }

    std::vector<std::string_view> lines_;
    const Lists& lists_;
    bool shared_;
    std::size_t index_ = 0;
    std::size_t lastIndent_ = 0;
    bool inSynopsis_ = false;
    Section* section_ = nullptr;
    ParsedPage result_;
};

} // namespace

ParsedPage parsePage(std::string_view text, const Lists& lists)
{
    return Parser(text, lists, false).run();
}

ParsedPage parseShared(std::string_view text)
{
    return Parser(text, {}, true).run();
}

} // namespace Manual
