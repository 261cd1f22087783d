#include "trellis/StyleGrammar.h"

#include "trellis/StyleText.h"

#include <fmt/format.h>

#include <array>
#include <map>

namespace Trellis {
namespace {

// The state names a selector can test, in the order of eState.
constexpr std::array<std::string_view, StateCount> StateNames{"enabled", "selected", "down",   "over",
                                                              "focus",   "input",    "dormant"};

// How an error message describes the element that was required.
std::string describe(const std::string& which)
{
    static const std::map<std::string, std::string, std::less<>> descriptions{
        {"eoi", "statement, whitespace or eoi"},
        {"{", "selector relation operator or {"},
        {"}", "} or ;"},
        {"symbols", "keyword"},
        {"ConstIdentifier", "const identifier"},
        {"Attribute", "attribute declaration"},
        {"QuotedString", "string"},
    };
    const auto found = descriptions.find(which);
    return found != descriptions.end() ? found->second : which;
}

} // namespace

StyleGrammar::StyleGrammar(StyleParser2& parser, std::string sourceName)
    : parser_(parser), sourceName_(std::move(sourceName))
{
}

const char* StyleGrammar::skipWhitespace(const char* p, const char* last, bool count)
{
    if (!count) {
        return DETAIL::skipWhitespace(p, last, [](const char*, const char*) {});
    }
    return DETAIL::skipWhitespace(p, last, [this](const char* begin, const char* end) { onNewLine(begin, end); });
}

void StyleGrammar::onNewLine(const char* begin, const char* end)
{
    if (static_cast<std::size_t>(begin - begin_) < countedUpTo_) {
        return;
    }
    countedUpTo_ = static_cast<std::size_t>(end - begin_);
    ++line_;
    if (style_.selectors.empty() && selector_.empty() && pending_.type.empty()) {
        style_.line = line_;
    }
}

void StyleGrammar::addAttributeCondition(const StyleParser2::tAttrSelector& condition)
{
    pending_.attributes.push_back(condition);
}

void StyleGrammar::addStateCondition(const StyleParser2::tStateSelector& condition)
{
    pending_.states.push_back(condition);
}

void StyleGrammar::endSimpleSelector()
{
    pending_.child = relation_;
    selector_.push_back(std::move(pending_));
    pending_ = {};
    relation_ = false;
}

SelectorStep StyleGrammar::makeStep(const tSimpleSelector& simple) const
{
    SelectorStep step;
    if (simple.type != "*") {
        step.type = PooledName(simple.templateArgument.empty()
                                   ? simple.type
                                   : simple.type + "<" + simple.templateArgument + ">");
    }
    step.style = PooledName(simple.style);
    step.id = PooledName(simple.id);
    for (const auto& condition : simple.attributes) {
        step.attributes[PooledName(condition.name)][condition.rule] = condition.value;
    }
    return step;
}

void StyleGrammar::endSelector()
{
    relation_ = false;
    if (selector_.empty()) {
        return;  // dropped by error recovery
    }
    ParsedSelector selector;
    const tSimpleSelector& subject = selector_.back();
    selector.subject = makeStep(subject);
    for (const auto& item : subject.states) {
        for (std::size_t state = 0; state < StateNames.size(); ++state) {
            if (item.name == StateNames[state]) {
                selector.states[state] = item.negated ? StateMustNotHold : StateMustHold;
            }
        }
    }
    for (auto simple = selector_.rbegin() + 1; simple != selector_.rend(); ++simple) {
        selector.ancestors.push_back({makeStep(*simple), (simple - 1)->child});
    }
    style_.selectors.push_back(std::move(selector));
    selector_.clear();
}

void StyleGrammar::endDeclaration()
{
    if (!propertyName_.empty()) {
        style_.properties.push_back({PooledName(propertyName_), value_});
        propertyName_.clear();
    }
}

void StyleGrammar::endStyle()
{
    if (!style_.selectors.empty() && !style_.properties.empty()) {
        style_.source = sourceName_;
        parser_.addStyle(std::move(style_));
    }
    clearStyle();
}

void StyleGrammar::clearStyle()
{
    style_ = {};
    style_.line = line_;
    selector_.clear();
    pending_ = {};
    relation_ = false;
    propertyName_.clear();
}

std::uint32_t StyleGrammar::makeColor(const std::vector<std::uint32_t>& components, bool alpha)
{
    if (components.size() != (alpha ? 4U : 3U)) {
        reportGrammarError("invalid color declaration");
        return 0;
    }
    const std::uint32_t rgb = (components[0] & 0xFFU) << 16 | (components[1] & 0xFFU) << 8 | (components[2] & 0xFFU);
    // Unsigned arithmetic wraps: the alpha is taken modulo 2^32 after scaling.
    const std::uint32_t scaledAlpha = alpha ? components[3] * 16777216U : 0xFF000000U;
    return scaledAlpha + rgb;
}

void StyleGrammar::defineConstant(std::int32_t line, const StyleParser2::tConstant& constant)
{
    parser_.defineConstant(line, constant);
}

void StyleGrammar::importStyleSheet(std::int32_t line, const std::string& url)
{
    parser_.importStyleSheet(line, url);
}

tPropertyValue StyleGrammar::lookupConstant(std::string_view name)
{
    return parser_.lookupConstant(std::string(name), line_);
}

void StyleGrammar::reportGrammarError(const std::string& message)
{
    parser_.reportError(sourceName_, line_, fmt::format("PARSER ERROR at line {}: {}", line_, message));
}

const char* StyleGrammar::onParseError(eRecovery construct, const std::string& which, const char* where,
                                       const char* last)
{
    reportGrammarError("Expecting " + describe(which));
    switch (construct) {
    case RecoverAttributeSelector:
        attribute_ = {};
        break;
    case RecoverSelector:
        pending_ = {};
        selector_.clear();
        relation_ = false;
        break;
    case RecoverDeclaration:
        propertyName_.clear();
        value_ = {};
        break;
    case RecoverStyle:
    case RecoverStatement:
        clearStyle();
        constantName_.clear();
        break;
    }
    return skipTo(construct, where, last);
}

const char* StyleGrammar::countLineEnds(const char* from, const char* to)
{
    while (from != to) {
        const std::size_t length = DETAIL::lineEndLength(from, to);
        if (length != 0) {
            onNewLine(from, from + length);
        }
        from += length != 0 ? length : 1;
    }
    return to;
}

// Skips to the resynchronisation point of `construct`, stepping over comments
// whole and counting the line ends passed.
const char* StyleGrammar::skipTo(eRecovery construct, const char* from, const char* last)
{
    const bool toLineEnd = construct == RecoverSelector || construct == RecoverStatement;
    const char* p = from;
    while (p != last) {
        if (const std::size_t length = DETAIL::lineEndLength(p, last); length != 0) {
            onNewLine(p, p + length);
            p += length;
            if (toLineEnd) {
                return p;
            }
        } else if (*p == '/' && p + 1 != last && (p[1] == '/' || p[1] == '*')) {
            // A block comment that is never closed runs to the end.
            const char* end = DETAIL::commentEnd(p, last);
            p = countLineEnds(p, end != nullptr ? end : last);
        } else if (*p == ']' && construct == RecoverAttributeSelector) {
            return p + 1;
        } else if (*p == '}' && construct == RecoverStyle) {
            return p + 1;
        } else if (*p == '}' && construct == RecoverDeclaration) {
            return p;
        } else {
            ++p;
        }
    }
    return last;
}

} // namespace Trellis
