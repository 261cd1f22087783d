#include "trellis/StyleManager.h"

#include "trellis/ManagerContainer.h"
#include "trellis/StyleComposer.h"
#include "trellis/StyleMatching.h"
#include "trellis/StyleParser2.h"
#include "trellis/Widget.h"

#include <basalt/Stream.h>

#include <algorithm>

namespace Trellis {

StyleManager::StyleManager(ManagerContainer& container) : container_(container) {}

StyleManager::~StyleManager() = default;

bool StyleManager::loadStyleSheet(const std::string& name)
{
    const auto stream = container_.getResourceStream(name, ManagerContainer::StyleSheetKind, true);
    StyleParser2 parser(this);
    return loaded(parser, stream && parser.processStream(*stream, name));
}

bool StyleManager::loadStyleSheetText(std::string_view text)
{
    StyleParser2 parser(this);
    return loaded(parser, parser.processString(text));
}

bool StyleManager::loaded(const StyleParser2& parser, bool parsed)
{
    if (parsed) {
        applyParsedStyles(parser);
        imported_ = parser.importedSet();
    }
    cache_.clear();
    return parsed;
}

void StyleManager::applyParsedStyles(const StyleParser2& parser)
{
    applyStyles(parser.styles());
}

void StyleManager::applyStyles(const std::vector<ParsedStyle>& styles)
{
    cache_.clear();
    rules_.clear();
    for (const ParsedStyle& style : styles) {
        const auto origin = std::make_shared<const tRuleOrigin>(tRuleOrigin{style.source, style.line});
        std::vector<StyleRule> selectors;
        for (const ParsedSelector& selector : style.selectors) {
            selectors.push_back(
                {std::make_shared<const ParsedSelector>(selector), {}, selectorSpecificity(selector), origin});
        }
        addRules(style.properties, selectors);
        addRules(composeProperties(style, container_), selectors);
    }
    sortRules();
}

// For each property in order, a rule for each of the style's selectors,
// appended in that order; sortRules() puts them in precedence order once all
// are in.
void StyleManager::addRules(const std::vector<ParsedProperty>& properties, const std::vector<StyleRule>& selectors)
{
    for (const ParsedProperty& property : properties) {
        auto& list = rules_[property.name];
        for (const StyleRule& selector : selectors) {
            list.push_back({selector.selector, property.value, selector.specificity, selector.origin});
        }
    }
}

// Most specific first. The sort is stable, so that among equally specific
// rules the first added stays first.
void StyleManager::sortRules()
{
    for (auto& [property, list] : rules_) {
        std::ranges::stable_sort(list, std::ranges::greater{}, &StyleRule::specificity);
    }
}

// A widget outside a Pane matches nothing, and nothing is cached for it.
const StyleManager::tRuleList& StyleManager::findRules(const Widget& widget, const PooledName& property)
{
    static const tRuleList None;
    if (!widget.pane()) {
        return None;
    }
    auto& byProperty = cache_[&widget];
    const auto cached = byProperty.find(property);
    if (cached != byProperty.end()) {
        return cached->second;
    }
    tRuleList& matching = byProperty[property];
    const auto rules = rules_.find(property);
    if (rules != rules_.end()) {
        for (const StyleRule& rule : rules->second) {
            if (selectorMatches(*rule.selector, widget, false)) {
                matching.push_back(&rule);
            }
        }
    }
    return matching;
}

const StyleRule* StyleManager::findRule(const Widget& widget, const PooledName& property)
{
    for (const StyleRule* rule : findRules(widget, property)) {
        if (attributeConditionsHold(*rule->selector, widget) && stateConditionsHold(rule->selector->states, widget)) {
            return rule;
        }
    }
    return nullptr;
}

const tPropertyValue* StyleManager::findProperty(const Widget& widget, const PooledName& property)
{
    const StyleRule* rule = findRule(widget, property);
    return rule ? &rule->value : nullptr;
}

void StyleManager::forgetWidget(const Widget& widget)
{
    dropWidget(widget);
    for (const auto& child : widget.children()) {
        forgetWidget(*child);
    }
}

void StyleManager::dropWidget(const Widget& widget)
{
    cache_.erase(&widget);
}

} // namespace Trellis
