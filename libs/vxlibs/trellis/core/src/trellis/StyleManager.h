#pragma once

#include "trellis/ParsedStyle.h"
#include "trellis/PooledName.h"
#include "trellis/StyleRule.h"

#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace Trellis {

class ManagerContainer;
class StyleParser2;
class Widget;

// The rule database of one style set. Rules are kept per property name,
// most specific first; among equally specific rules the one written first
// comes first, so a value is always taken from the first rule that holds.
// Which rules match a widget structurally (types, ids, style names and
// relations) is cached per widget and property name; attribute conditions
// are tested when a value is looked up or a style computed, and state
// conditions whenever a value is read. Used on the user-interface thread only.
class StyleManager {
public:
    using tRuleList = std::vector<const StyleRule*>;

    explicit StyleManager(ManagerContainer& container);
    ~StyleManager();
    StyleManager(const StyleManager&) = delete;
    StyleManager& operator=(const StyleManager&) = delete;

    // The resource manager through which stylesheets and their imports are found.
    ManagerContainer& container() const { return container_; }

    // Parses the named stylesheet resource; on success its rules replace all
    // rules of this manager. False when the resource is missing or does not
    // parse, and then the rules stay. The match cache is emptied either way.
    bool loadStyleSheet(const std::string& name);
    // The same for a stylesheet held in a text.
    bool loadStyleSheetText(std::string_view text);

    // Replaces the rules by those of the parser's styles.
    void applyParsedStyles(const StyleParser2& parser);
    // Replaces the rules by those of the styles, in order: each style's own
    // declarations, then the values composed from them, each for every
    // selector of the style. Empties the match cache.
    void applyStyles(const std::vector<ParsedStyle>& styles);

    // The rules of the property whose selectors match the widget
    // structurally, in precedence order; empty for a widget without a Pane.
    const tRuleList& findRules(const Widget& widget, const PooledName& property);
    // The first of those rules whose attribute and state conditions hold
    // now, or null; findProperty() gives its value.
    const StyleRule* findRule(const Widget& widget, const PooledName& property);
    const tPropertyValue* findProperty(const Widget& widget, const PooledName& property);

    // Drops the cached matches of the widget and of every widget below it.
    void forgetWidget(const Widget& widget);
    // Drops the cached matches of the widget alone.
    void dropWidget(const Widget& widget);
    bool hasCachedMatches(const Widget& widget) const { return cache_.contains(&widget); }

    // The stylesheets that the last loaded one imported.
    const std::set<std::string>& importedSet() const { return imported_; }

private:
    bool loaded(const StyleParser2& parser, bool parsed);
    // `selectors` holds the style's selectors with their specificity and no value.
    void addRules(const std::vector<ParsedProperty>& properties, const std::vector<StyleRule>& selectors);
    void sortRules();

    ManagerContainer& container_;
    std::unordered_map<PooledName, std::vector<StyleRule>> rules_;
    std::unordered_map<const Widget*, std::unordered_map<PooledName, tRuleList>> cache_;
    std::set<std::string> imported_;
};

} // namespace Trellis
