// The rules of the stylesheet language. Nothing is skipped implicitly: every
// place where whitespace may stand is written out, with the counting "WS" or
// with the non-counting whitespace inside look-aheads. Each rule carries the
// name that syntax errors use. A required element is written need(...): when
// it fails after the elements before it matched, it raises an expectation
// failure keyed by the literal it wanted or by its rule name, and the nearest
// enclosing rule that recovers (see the *Id types with on_error) reports it,
// skips to its resynchronisation point and goes on.
#include "trellis/StyleGrammar.h"

#include <boost/spirit/home/x3.hpp>

#include <cstdint>
#include <new>
#include <string_view>

namespace Trellis {
namespace {

namespace x3 = boost::spirit::x3;

struct GrammarTag;

template <typename Context>
StyleGrammar& grammar(const Context& context)
{
    return x3::get<GrammarTag>(context);
}

// Wraps a grammar action taking (grammar, attribute) into a semantic action.
template <typename Action>
auto act(Action action)
{
    return [action](auto& context) { action(grammar(context), x3::_attr(context)); };
}

// --- Terminals ------------------------------------------------------------

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isIdentifierChar(char c)
{
    return isLetter(c) || (c >= '0' && c <= '9') || c == '_' || c == '-';
}

// Blanks, comments and line ends; the counting kind reports each line end
// to the grammar.
template <bool Counting>
struct WhitespaceParser : x3::parser<WhitespaceParser<Counting>> {
    using attribute_type = x3::unused_type;

    template <typename Iterator, typename Context, typename RContext, typename Attribute>
    bool parse(Iterator& first, const Iterator& last, const Context& context, RContext&, Attribute&) const
    {
        const char* end = grammar(context).skipWhitespace(first, last, Counting);
        if (end == first) {
            return false;
        }
        first = end;
        return true;
    }
};

// A terminal that scans plain text: `Scanner::scan(first, last, value)` gives
// the end of the match and its value, or null when nothing matches.
template <typename Scanner>
struct ScanningParser : x3::parser<ScanningParser<Scanner>> {
    using attribute_type = typename Scanner::tValue;

    template <typename Iterator, typename Context, typename RContext, typename Attribute>
    bool parse(Iterator& first, const Iterator& last, const Context&, RContext&, Attribute& attribute) const
    {
        attribute_type value{};
        const char* end = Scanner::scan(first, last, value);
        if (end == nullptr) {
            return false;
        }
        x3::traits::move_to(value, attribute);
        first = end;
        return true;
    }
};

// "_" or a letter, then letters, digits, "_" and "-".
struct IdentifierScanner {
    using tValue = std::string_view;
    static const char* scan(const char* first, const char* last, tValue& text)
    {
        if (first == last || !(isLetter(*first) || *first == '_')) {
            return nullptr;
        }
        const char* end = first + 1;
        while (end != last && isIdentifierChar(*end)) {
            ++end;
        }
        text = std::string_view(first, static_cast<std::size_t>(end - first));
        return end;
    }
};

// Everything up to (not including) the closing quote or a line end.
template <char Quote>
struct StringScanner {
    using tValue = std::string_view;
    static const char* scan(const char* first, const char* last, tValue& text)
    {
        const char* end = first;
        while (end != last && *end != Quote && *end != '\n' && *end != '\r') {
            ++end;
        }
        text = std::string_view(first, static_cast<std::size_t>(end - first));
        return end;
    }
};

// The comparison of an attribute condition, longest match.
struct OperatorScanner {
    using tValue = AttibuteSelector::eRule;
    static const char* scan(const char* first, const char* last, tValue& rule)
    {
        if (first != last && *first == '=') {
            rule = AttibuteSelector::RuleEqual;
            return first + 1;
        }
        if (last - first < 2 || first[1] != '=') {
            return nullptr;
        }
        switch (*first) {
        case '^': rule = AttibuteSelector::RuleBeginsWith; break;
        case '$': rule = AttibuteSelector::RuleEndsWith; break;
        case '*': rule = AttibuteSelector::RuleContains; break;
        case '!': rule = AttibuteSelector::RuleNotEqual; break;
        default: return nullptr;
        }
        return first + 2;
    }
};

// Decimal numbers only: no "nan" or "inf" words.
struct FloatPolicies : x3::real_policies<float> {
    template <typename Iterator, typename Attribute>
    static bool parse_nan(Iterator&, const Iterator&, Attribute&)
    {
        return false;
    }
    template <typename Iterator, typename Attribute>
    static bool parse_inf(Iterator&, const Iterator&, Attribute&)
    {
        return false;
    }
};

const x3::real_parser<float, FloatPolicies> floatNumber{};
const x3::int_parser<std::int32_t> signedInteger{};
const x3::uint_parser<std::uint32_t> unsignedInteger{};
// Overflowing 32 bits fails, so too long a value is an error, not a wrap.
const x3::uint_parser<std::uint32_t, 16> hexNumber{};

// --- Required elements ----------------------------------------------------

// Parses its subject; a failure raises an expectation failure keyed `key`.
template <typename Subject>
struct RequiredParser : x3::unary_parser<Subject, RequiredParser<Subject>> {
    using base_type = x3::unary_parser<Subject, RequiredParser<Subject>>;
    static bool const is_pass_through_unary = true;

    constexpr RequiredParser(const Subject& wrapped, const char* requiredKey) : base_type(wrapped), key(requiredKey) {}

    template <typename Iterator, typename Context, typename RContext, typename Attribute>
    bool parse(Iterator& first, const Iterator& last, const Context& context, RContext& rcontext,
               Attribute& attribute) const
    {
        if (!this->subject.parse(first, last, context, rcontext, attribute)) {
            throw x3::expectation_failure<Iterator>(first, key);
        }
        return true;
    }

    const char* key;
};

template <typename Subject>
constexpr auto need(const char* key, const Subject& subject)
{
    return RequiredParser<typename x3::extension::as_parser<Subject>::value_type>(x3::as_parser(subject), key);
}

// A required literal, keyed by itself.
constexpr auto need(const char* literal)
{
    return need(literal, x3::lit(literal));
}

// A required rule, keyed by its name.
template <typename Id, typename Attribute>
constexpr auto need(const x3::rule<Id, Attribute>& rule)
{
    return need(rule.name, rule);
}

// --- Error recovery -------------------------------------------------------

template <StyleGrammar::eRecovery Construct, x3::error_handler_result Result>
struct Recovering {
    template <typename Iterator, typename Exception, typename Context>
    x3::error_handler_result on_error(Iterator& first, const Iterator& last, const Exception& failure,
                                      const Context& context) const
    {
        first = grammar(context).onParseError(Construct, failure.which(), failure.where(), last);
        return Result;
    }
};

// The construct counts as parsed and its enclosing rule goes on.
template <StyleGrammar::eRecovery Construct>
using Accepting = Recovering<Construct, x3::error_handler_result::accept>;

struct StylesheetId : Recovering<StyleGrammar::RecoverStatement, x3::error_handler_result::retry> {};
struct StyleId : Accepting<StyleGrammar::RecoverStyle> {};
struct SelectorId : Accepting<StyleGrammar::RecoverSelector> {};
struct AttributeSelectorId : Accepting<StyleGrammar::RecoverAttributeSelector> {};
struct DeclarationId : Accepting<StyleGrammar::RecoverDeclaration> {};

// --- Rules ----------------------------------------------------------------

const char* const Unnamed = "unnamed-rule";

const x3::rule<StylesheetId> Stylesheet = "Stylesheet";
const x3::rule<class StatementId> Statement = "Statement";
const x3::rule<class ATDeclarationId> ATDeclaration = "ATDeclaration";
const x3::rule<class ConstantId> Constant = "Constant";
const x3::rule<class ConstantBodyId> ConstantBody = Unnamed;
const x3::rule<class ImportId> Import = "Import";
const x3::rule<StyleId> Style = "Style";
const x3::rule<class SelectorsId> Selectors = "Selectors";
const x3::rule<SelectorId> Selector = "Selector";
const x3::rule<class SimpleSelectorId> SimpleSelector = "SimpleSelector";
const x3::rule<class TypeSelectorId> TypeSelector = "TypeSelector";
const x3::rule<class TemplateArgumentId> TemplateArgument = Unnamed;
const x3::rule<class StyleSelectorId> StyleSelector = "StyleSelector";
const x3::rule<class ElementSelectorId> ElementSelector = "ElementSelector";
const x3::rule<AttributeSelectorId> AttributeSelector = "AttributeSelector";
const x3::rule<class AttributeId> Attribute = "Attribute";
const x3::rule<class StateSelectorId> StateSelector = "StateSelector";
const x3::rule<class StateItemId> StateItem = Unnamed;
const x3::rule<class SelectorRelationsId> SelectorRelations = "SelectorRelations";
const x3::rule<class ChildRelationId> ChildRelation = Unnamed;
const x3::rule<class DescendantRelationId> DescendantRelation = Unnamed;
const x3::rule<class PropertiesId> Properties = "Properties";
const x3::rule<DeclarationId> Declaration = "Declaration";
const x3::rule<class PropertyId> Property = "Property";
const x3::rule<class NumericPropertyId> NumericProperty = "NumericProperty";
const x3::rule<class NumberId> Number = Unnamed;
const x3::rule<class IntegerId> Integer = Unnamed;
const x3::rule<class UnitId> Unit = Unnamed;
const x3::rule<class BoolPropertyId> BoolProperty = "BoolProperty";
const x3::rule<class URLPropertyId> URLProperty = "URLProperty";
const x3::rule<class ColorPropertyId> ColorProperty = "ColorProperty";
const x3::rule<class ConstantPropertyId> ConstantProperty = "ConstantProperty";
const x3::rule<class StringPropertyId> StringProperty = "StringProperty";
const x3::rule<class ColorId> Color = "Color";
const x3::rule<class RgbaFormId> RgbaForm = Unnamed;
const x3::rule<class RgbFormId> RgbForm = Unnamed;
const x3::rule<class ComponentsId> Components = Unnamed;
const x3::rule<class HexColorId> HexColor = "HexColor";
const x3::rule<class URLId> URL = "URL";
const x3::rule<class QuotedStringId> QuotedString = "QuotedString";
const x3::rule<class ApostropheStringId, std::string_view> ApostropheString = "String";
const x3::rule<class QuoteStringId, std::string_view> QuoteString = "String";
const x3::rule<class ConstIdentifierId, std::string_view> ConstIdentifier = "ConstIdentifier";
const x3::rule<class IdentifierId, std::string_view> Identifier = "Identifier";
const x3::rule<class WSId> WS = "WS";
const x3::rule<class SemicolonId> Semicolon = ";";
const x3::rule<class OpenId> Open = "(";
const x3::rule<class CloseId> Close = ")";

const WhitespaceParser<false> quietWhitespace{};

// Statements.
const auto Stylesheet_def = *(Statement | WS) >> need("eoi", x3::eoi);
const auto Statement_def = Style[([](auto& context) { grammar(context).endStyle(); })] | ATDeclaration;
const auto ATDeclaration_def = (Constant | Import) >> -WS >> need(Semicolon);
const auto Constant_def =
    x3::lit("@define") >> need(WS) >> need(ConstantBody)[([](auto& context) { grammar(context).defineConstant(); })];
const auto ConstantBody_def =
    ConstIdentifier[act([](StyleGrammar& g, std::string_view name) { g.setConstantName(name); })] >> need(WS) >>
    need(Property);
const auto Import_def = x3::lit("@import") >> need(WS) >> need(URL)[([](auto& context) {
                            StyleGrammar& g = grammar(context);
                            g.importStyleSheet(g.line(), g.quoted());
                        })];

// Styles and selectors.
const auto Style_def = Selectors >> -WS >> need("{") >> -WS >> -Properties >> -x3::lit(';') >> -WS >> need("}");
const auto Selectors_def =
    Selector[([](auto& context) { grammar(context).endSelector(); })] % (x3::lit(',') >> -WS) >> -WS;
const auto Selector_def =
    SimpleSelector[([](auto& context) { grammar(context).endSimpleSelector(); })] % SelectorRelations >> -WS;
const auto SimpleSelector_def =
    TypeSelector >> -StyleSelector >> -ElementSelector >> *AttributeSelector >> *StateSelector;
const auto TypeSelector_def =
    (x3::lit('*')[([](auto& context) { grammar(context).setType("*"); })] |
     Identifier[act([](StyleGrammar& g, std::string_view type) { g.setType(type); })]) >>
    -TemplateArgument;
const auto TemplateArgument_def =
    x3::lit('<') >> -WS >>
    need(Identifier)[act([](StyleGrammar& g, std::string_view argument) { g.setTemplateArgument(argument); })] >>
    -WS >> need(">");
const auto StyleSelector_def =
    x3::lit('.') >> need(Identifier)[act([](StyleGrammar& g, std::string_view name) { g.setStyleName(name); })];
const auto ElementSelector_def =
    x3::lit('#') >> need(Identifier)[act([](StyleGrammar& g, std::string_view id) { g.setId(id); })];
const auto AttributeSelector_def =
    x3::lit('[')[([](auto& context) { grammar(context).attribute() = {}; })] >> -WS >> need(Attribute) >> -WS >>
    need("]")[([](auto& context) {
        StyleGrammar& g = grammar(context);
        g.addAttributeCondition(g.attribute());
    })];
const auto Attribute_def =
    Identifier[act([](StyleGrammar& g, std::string_view name) { g.attribute().name.assign(name); })] >>
    need("symbols", ScanningParser<OperatorScanner>{})[act([](StyleGrammar& g, AttibuteSelector::eRule rule) {
        g.attribute().rule = rule;
    })] >>
    need(Identifier)[act([](StyleGrammar& g, std::string_view value) { g.attribute().value.assign(value); })];
const auto StateSelector_def = !x3::lit("::") >> x3::lit(':') >> need(StateItem);
const auto StateItem_def =
    x3::eps[([](auto& context) { grammar(context).state() = {}; })] >>
    -x3::lit('!')[([](auto& context) { grammar(context).state().negated = true; })] >>
    need(Identifier)[act([](StyleGrammar& g, std::string_view name) {
        g.state().name.assign(name);
        g.addStateCondition(g.state());
    })];
const auto SelectorRelations_def = ChildRelation | DescendantRelation;
const auto ChildRelation_def = (&(-quietWhitespace >> x3::lit("::")) >> -WS >> x3::lit("::") >>
                                -WS)[([](auto& context) { grammar(context).setRelation(true); })];
const auto DescendantRelation_def = (!(-quietWhitespace >> (x3::lit(',') | x3::lit('{'))) >>
                                     WS)[([](auto& context) { grammar(context).setRelation(false); })];

// Declarations and values.
const auto Properties_def =
    Declaration[([](auto& context) { grammar(context).endDeclaration(); })] % Semicolon >> -WS;
const auto Declaration_def =
    Identifier[act([](StyleGrammar& g, std::string_view name) { g.setPropertyName(name); })] >> -WS >> need(":") >>
    -WS >> need("sequence", Property >> -WS);
const auto Property_def =
    NumericProperty | BoolProperty | URLProperty | ColorProperty | ConstantProperty | StringProperty;
const auto NumericProperty_def = Number >> -WS >> Unit;
const auto Number_def =
    Integer | floatNumber[act([](StyleGrammar& g, float number) { g.setValue({number, Property::UnitNone}); })];
const auto unitWord = x3::lit("px") | x3::lit('%');
const auto Integer_def =
    &(signedInteger >> -quietWhitespace >> -unitWord >> -quietWhitespace >> (x3::lit(';') | x3::lit('}'))) >>
    signedInteger[act([](StyleGrammar& g, std::int32_t number) { g.setValue({number, Property::UnitNone}); })];
const auto Unit_def = -(x3::lit("px")[([](auto& context) { grammar(context).setUnit(Property::UnitPx); })] |
                        x3::lit('%')[([](auto& context) { grammar(context).setUnit(Property::UnitPercent); })]);
// "true" and "false" only as whole words: "trueColor" is a string.
const auto notIdentifierChar = !x3::char_("a-zA-Z0-9_-");
const auto setBool = [](bool value) {
    return [value](auto& context) { grammar(context).setValue({value, Property::UnitBool}); };
};
const auto BoolProperty_def =
    (x3::lit("true") >> notIdentifierChar)[setBool(true)] | (x3::lit("false") >> notIdentifierChar)[setBool(false)];
const auto URLProperty_def = URL[([](auto& context) {
    StyleGrammar& g = grammar(context);
    g.setValue({g.quoted(), Property::UnitUrl});
})];
const auto ColorProperty_def = Color;
const auto ConstantProperty_def =
    ConstIdentifier[act([](StyleGrammar& g, std::string_view name) { g.setValue(g.lookupConstant(name)); })];
const auto StringProperty_def = Identifier[act([](StyleGrammar& g, std::string_view text) {
    g.setValue({std::string(text), Property::UnitString});
})];

// Colours and URLs.
const auto Color_def = RgbaForm | RgbForm | HexColor;
const auto startColor = [](auto& context) { grammar(context).components().clear(); };
const auto setColor = [](bool alpha) {
    return [alpha](auto& context) {
        StyleGrammar& g = grammar(context);
        g.setValue({g.makeColor(g.components(), alpha), Property::UnitColor});
    };
};
const auto RgbaForm_def = x3::no_case[x3::lit("rgba")][startColor] >> -WS >> need(Open) >>
                          need(Components)[setColor(true)] >> need(Close);
const auto RgbForm_def = x3::no_case[x3::lit("rgb")][startColor] >> -WS >> need(Open) >>
                         need(Components)[setColor(false)] >> need(Close);
const auto Components_def =
    (unsignedInteger[act([](StyleGrammar& g, std::uint32_t component) { g.components().push_back(component); })] >>
     -WS) %
    (x3::lit(',') >> -WS);
const auto HexColor_def =
    x3::lit('#') >> need("hexadecimal digits (at most FFFFFFFF)",
                         hexNumber[act([](StyleGrammar& g, std::uint32_t value) {
                             g.setValue({0xFF000000U | (value & 0xFFFFFFU), Property::UnitColor});
                         })]);
const auto URL_def = x3::no_case[x3::lit("url")] >> -WS >> need(Open) >> need(QuotedString) >> need(Close);
const auto setQuoted = act([](StyleGrammar& g, std::string_view text) { g.setQuoted(text); });
const auto QuotedString_def = (x3::lit('\'') >> need(ApostropheString)[setQuoted] >> need("'")) |
                              (x3::lit('"') >> need(QuoteString)[setQuoted] >> need("\""));
const auto ApostropheString_def = ScanningParser<StringScanner<'\''>>{};
const auto QuoteString_def = ScanningParser<StringScanner<'"'>>{};

// Names, whitespace and punctuation.
const auto ConstIdentifier_def = x3::lit('$') >> need(Identifier);
const auto Identifier_def = ScanningParser<IdentifierScanner>{};
const auto WS_def = WhitespaceParser<true>{};
const auto Semicolon_def = x3::lit(';') >> -WS;
const auto Open_def = x3::lit('(') >> -WS;
const auto Close_def = -WS >> x3::lit(')');

BOOST_SPIRIT_DEFINE(Stylesheet, Statement, ATDeclaration, Constant, ConstantBody, Import, Style, Selectors, Selector,
                    SimpleSelector, TypeSelector, TemplateArgument, StyleSelector, ElementSelector,
                    AttributeSelector, Attribute, StateSelector, StateItem, SelectorRelations, ChildRelation,
                    DescendantRelation, Properties, Declaration, Property, NumericProperty, Number, Integer, Unit,
                    BoolProperty, URLProperty, ColorProperty, ConstantProperty, StringProperty, Color, RgbaForm,
                    RgbForm, Components, HexColor, URL, QuotedString, ApostropheString, QuoteString,
                    ConstIdentifier, Identifier, WS, Semicolon, Open, Close)

} // namespace

bool StyleGrammar::parse(std::string_view text)
{
    begin_ = text.data();
    const char* first = begin_;
    const char* last = begin_ + text.size();
    try {
        return x3::parse(first, last, x3::with<GrammarTag>(*this)[Stylesheet]) && first == last;
    } catch (const std::bad_alloc&) {
        return false;  // a text too large to hold what it builds
    }
}

} // namespace Trellis
