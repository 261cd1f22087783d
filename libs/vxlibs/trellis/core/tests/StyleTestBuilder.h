#pragma once

#include "TestResources.h"

#include <trellis/ManagerContainer.h>
#include <trellis/Pane.h>
#include <trellis/ParsedStyle.h>
#include <trellis/StyleManager.h>
#include <trellis/Widget.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace Trellis::Testing {

// Builds a selector as it would be written, left to right:
// selector().type("Bar").id("top").descendant().type("Button").state(StateDown)
// stands for "Bar#top Button:down".
class SelectorBuilder {
public:
    SelectorBuilder& type(const std::string& name);
    SelectorBuilder& style(const std::string& name);
    SelectorBuilder& id(const std::string& name);
    SelectorBuilder& attribute(const std::string& name, const std::string& value,
                               AttibuteSelector::eRule rule = AttibuteSelector::RuleEqual);
    // A state condition of the subject: must hold, or with `holds` false must not.
    SelectorBuilder& state(eState state, bool holds = true);
    // Ends the current simple selector; the next one is its descendant or child.
    SelectorBuilder& descendant();
    SelectorBuilder& child();

    operator ParsedSelector() const;

private:
    SelectorBuilder& next(bool child);

    std::vector<std::pair<SelectorStep, bool>> written_;  // each step with "child of the step before"
    SelectorStep current_;
    bool currentIsChild_ = false;
    tStateConditions states_{StateAny, StateAny, StateAny, StateAny, StateAny, StateAny, StateAny};
};

inline SelectorBuilder selector()
{
    return {};
}

// Values as the parser makes them.
tPropertyValue number(std::int32_t value);  // 12
tPropertyValue px(std::int32_t value);      // 12px
tPropertyValue percent(std::int32_t value); // 12%
tPropertyValue decimal(float value, Property::eUnit unit = Property::UnitNone);
tPropertyValue colour(std::uint32_t value);
tPropertyValue word(const std::string& text);  // a bare identifier
tPropertyValue url(const std::string& text);
tPropertyValue boolean(bool value);

using tDeclarations = std::vector<std::pair<std::string, tPropertyValue>>;
ParsedStyle style(std::vector<ParsedSelector> selectors, const tDeclarations& declarations);

// A widget of a given type name, optionally with a stacking direction.
class TestWidget : public Widget {
public:
    explicit TestWidget(std::string type, std::optional<bool> horizontal = std::nullopt)
        : type_(std::move(type)), horizontal_(horizontal)
    {
    }
    std::string_view getClass() const override { return type_; }

protected:
    std::optional<bool> stacksHorizontally() const override { return horizontal_; }

private:
    std::string type_;
    std::optional<bool> horizontal_;
};

std::shared_ptr<TestWidget> widget(const std::string& type, std::optional<bool> horizontal = std::nullopt);

// A container over the test fonts (resource id 1 and "corvel.ttf"), a Pane
// with a root Bar, and helpers to load hand-built styles into the first style
// set.
class StyleTest : public testing::Test {
protected:
    StyleTest();
    ~StyleTest() override;

    StyleManager& manager() { return *resources->styleSets().front().manager; }
    void load(const std::vector<ParsedStyle>& styles) { manager().applyStyles(styles); }
    // Adds a widget of that type below `parent` (the root by default).
    std::shared_ptr<TestWidget> add(const std::string& type, const std::string& id = "", Widget* parent = nullptr);
    const tPropertyValue* find(const Widget& widget, const std::string& property);

    TestModule table;
    Basalt::ResourceModule module;
    std::unique_ptr<ManagerContainer> resources;
    Pane pane;
    std::shared_ptr<TestWidget> root;
};

} // namespace Trellis::Testing
