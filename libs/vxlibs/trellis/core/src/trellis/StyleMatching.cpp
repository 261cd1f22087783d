#include "trellis/StyleMatching.h"

#include "trellis/Widget.h"

#include <algorithm>
#include <string_view>
#include <variant>

namespace Trellis {
namespace {

std::uint32_t stepSpecificity(const SelectorStep& step)
{
    return (step.id.empty() ? 0u : 16777216u) + (step.style.empty() ? 0u : 65536u) +
           16u * static_cast<std::uint32_t>(step.attributes.size()) + (step.type.empty() ? 0u : 1u);
}

// A step's type matches the widget's type name, or the part of it before a
// template argument ("tree" matches "tree<Bar>").
bool typeMatches(const PooledName& type, std::string_view widgetType)
{
    if (type.empty()) {
        return true;
    }
    const std::string& wanted = type.str();
    return wanted == widgetType || wanted == widgetType.substr(0, widgetType.find('<'));
}

// RuleNotEqual has no comparison of its own for texts: it is taken as the
// negation of RuleEqual. The rules the parser never produces never hold.
bool textConditionHolds(AttibuteSelector::eRule rule, const std::string& value, const std::string& compared)
{
    switch (rule) {
    case AttibuteSelector::RuleEqual:
        return value == compared;
    case AttibuteSelector::RuleBeginsWith:
        return value.starts_with(compared);
    case AttibuteSelector::RuleEndsWith:
        return value.ends_with(compared);
    case AttibuteSelector::RuleContains:
        return value.find(compared) != std::string::npos;
    case AttibuteSelector::RuleNotEqual:
        return value != compared;
    }
    return false;
}

// A bool answers "true" or "yes" when true and any other text when false,
// whatever the rule.
bool conditionHolds(const AttibuteSelector::tValue& value, AttibuteSelector::eRule rule, const std::string& compared)
{
    if (const bool* flag = std::get_if<bool>(&value)) {
        return *flag == (compared == "true" || compared == "yes");
    }
    if (const std::string* text = std::get_if<std::string>(&value)) {
        return textConditionHolds(rule, *text, compared);
    }
    return false;
}

// The widget's own attribute of that name first, then the built-in one.
bool attributesHold(const SelectorStep& step, const Widget& widget)
{
    for (const auto& [name, conditions] : step.attributes) {
        const std::string* own = widget.attribute(name);
        const AttibuteSelector::tValue value = own ? AttibuteSelector::tValue(*own) : widget.builtInAttribute(name);
        for (const auto& [rule, compared] : conditions) {
            if (!conditionHolds(value, rule, compared)) {
                return false;
            }
        }
    }
    return true;
}

bool stepMatches(const SelectorStep& step, const Widget& widget, bool checkAttributes)
{
    return (step.style.empty() || step.style == widget.style()) && (step.id.empty() || step.id == widget.id()) &&
           typeMatches(step.type, widget.getClass()) && (!checkAttributes || attributesHold(step, widget));
}

// The ancestor steps after the first, each greedily: a child step must match
// the very next ancestor up, a descendant step takes the nearest further
// ancestor that matches it.
bool remainingAncestorsMatch(const ParsedSelector& selector, const Widget& first, bool checkAttributes)
{
    const Widget* below = &first;
    for (std::size_t i = 1; i < selector.ancestors.size(); ++i) {
        const auto& [step, child] = selector.ancestors[i];
        const Widget* candidate = below->parent();
        if (child) {
            if (!candidate || !stepMatches(step, *candidate, checkAttributes)) {
                return false;
            }
        } else {
            while (candidate && !stepMatches(step, *candidate, checkAttributes)) {
                candidate = candidate->parent();
            }
            if (!candidate) {
                return false;
            }
        }
        below = candidate;
    }
    return true;
}

} // namespace

std::uint32_t selectorSpecificity(const ParsedSelector& selector)
{
    const auto stated = std::count_if(selector.states.begin(), selector.states.end(),
                                      [](std::uint8_t condition) { return condition != StateAny; });
    std::uint32_t specificity = 256u * static_cast<std::uint32_t>(stated) + stepSpecificity(selector.subject);
    for (const auto& ancestor : selector.ancestors) {
        specificity += stepSpecificity(ancestor.step);
    }
    return specificity;
}

// Every ancestor that the first ancestor step matches is tried in turn,
// nearest first (only the parent for a child step), until one lets the
// remaining steps match.
bool selectorMatches(const ParsedSelector& selector, const Widget& widget, bool checkAttributes)
{
    if (!stepMatches(selector.subject, widget, checkAttributes)) {
        return false;
    }
    if (selector.ancestors.empty()) {
        return true;
    }
    const auto& [step, child] = selector.ancestors.front();
    for (const Widget* ancestor = widget.parent(); ancestor; ancestor = ancestor->parent()) {
        if (stepMatches(step, *ancestor, checkAttributes) &&
            remainingAncestorsMatch(selector, *ancestor, checkAttributes)) {
            return true;
        }
        if (child) {
            break;
        }
    }
    return false;
}

bool attributeConditionsHold(const ParsedSelector& selector, const Widget& widget)
{
    const auto tests = [](const SelectorStep& step) { return !step.attributes.empty(); };
    const bool anyCondition =
        tests(selector.subject) || std::any_of(selector.ancestors.begin(), selector.ancestors.end(),
                                               [&](const ParsedSelector::tAncestor& a) { return tests(a.step); });
    return !anyCondition || selectorMatches(selector, widget, true);
}

bool stateConditionsHold(const tStateConditions& states, const Widget& widget)
{
    for (std::size_t i = 0; i < states.size(); ++i) {
        if (states[i] != StateAny && (states[i] == StateMustHold) != widget.isInState(static_cast<eState>(i))) {
            return false;
        }
    }
    return true;
}

} // namespace Trellis
