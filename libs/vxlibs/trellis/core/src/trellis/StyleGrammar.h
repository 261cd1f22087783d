#pragma once

#include "trellis/ParsedStyle.h"
#include "trellis/PropertyValue.h"
#include "trellis/StyleParser2.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace Trellis {

// The grammar of one stylesheet text: it owns the line counter and whatever is
// partly built (simple selector, selector, declaration, style), and hands each
// finished style, constant and import to its StyleParser2. The rules
// themselves live in StyleGrammarRules.cpp; the operations below are the
// actions those rules call while they parse.
class StyleGrammar {
public:
    // The constructs that recover from a syntax error inside them, innermost
    // first. Each skips to its own resynchronisation point.
    enum eRecovery : std::uint8_t {
        RecoverAttributeSelector,  // after "]"
        RecoverSelector,           // after the end of the line
        RecoverDeclaration,        // just before "}"
        RecoverStyle,              // after "}"
        RecoverStatement,          // after the end of the line
    };

    StyleGrammar(StyleParser2& parser, std::string sourceName);

    // Parses the whole text; true when it was consumed to its end. Syntax
    // errors are reported and recovered from on the way.
    bool parse(std::string_view text);

    std::int32_t line() const { return line_; }

    // The end of the whitespace at `p`, counting its line ends when `count`.
    const char* skipWhitespace(const char* p, const char* last, bool count);

    // Counts the line end that begins at `begin` and ends before `end`, unless
    // a line end at or past `begin` was counted already (backtracking).
    void onNewLine(const char* begin, const char* end);

    void setType(std::string_view type) { pending_.type.assign(type); }
    void setTemplateArgument(std::string_view argument) { pending_.templateArgument.assign(argument); }
    void setStyleName(std::string_view name) { pending_.style.assign(name); }
    void setId(std::string_view id) { pending_.id.assign(id); }
    void setRelation(bool child) { relation_ = child; }
    void addAttributeCondition(const StyleParser2::tAttrSelector& condition);
    void addStateCondition(const StyleParser2::tStateSelector& condition);
    void endSimpleSelector();
    void endSelector();

    // The attribute condition and the state item being read.
    StyleParser2::tAttrSelector& attribute() { return attribute_; }
    StyleParser2::tStateSelector& state() { return state_; }

    void setPropertyName(std::string_view name) { propertyName_.assign(name); }
    void setValue(tPropertyValue value) { value_ = std::move(value); }
    void setUnit(Property::eUnit unit) { value_.unit = unit; }
    void setQuoted(std::string_view text) { quoted_.assign(text); }
    const std::string& quoted() const { return quoted_; }
    std::vector<std::uint32_t>& components() { return components_; }
    void setConstantName(std::string_view name) { constantName_.assign(name); }
    void endDeclaration();
    void endStyle();

    // The colour of rgb() (3 components) or rgba() (4): 0 and an error for any
    // other count. Only the low 8 bits of a component count.
    std::uint32_t makeColor(const std::vector<std::uint32_t>& components, bool alpha);
    // The constant just read (name and value).
    void defineConstant(std::int32_t line, const StyleParser2::tConstant& constant);
    void defineConstant() { defineConstant(line_, {constantName_, value_}); }
    void importStyleSheet(std::int32_t line, const std::string& url);
    tPropertyValue lookupConstant(std::string_view name);

    // Reports the syntax error `which` (the required element) at `where`,
    // drops what the construct in error collected, and returns the place
    // where parsing resumes.
    const char* onParseError(eRecovery construct, const std::string& which, const char* where, const char* last);

private:
    struct tSimpleSelector {
        std::string type;
        std::string templateArgument;
        std::string style;
        std::string id;
        std::vector<StyleParser2::tAttrSelector> attributes;
        std::vector<StyleParser2::tStateSelector> states;
        bool child = false;  // the relation written before it was "::"
    };

    void reportGrammarError(const std::string& message);
    SelectorStep makeStep(const tSimpleSelector& simple) const;
    const char* countLineEnds(const char* from, const char* to);
    const char* skipTo(eRecovery construct, const char* from, const char* last);
    void clearStyle();

    StyleParser2& parser_;
    std::string sourceName_;
    const char* begin_ = nullptr;
    std::int32_t line_ = 1;
    std::size_t countedUpTo_ = 0;  // offset just past the furthest line end counted

    tSimpleSelector pending_;
    bool relation_ = false;
    std::vector<tSimpleSelector> selector_;
    StyleParser2::tAttrSelector attribute_;
    StyleParser2::tStateSelector state_;
    std::string propertyName_;
    tPropertyValue value_;
    std::string quoted_;
    std::vector<std::uint32_t> components_;
    std::string constantName_;
    ParsedStyle style_;
};

} // namespace Trellis
