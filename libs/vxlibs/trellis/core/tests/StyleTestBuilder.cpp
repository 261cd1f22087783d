#include "StyleTestBuilder.h"

#include <algorithm>

namespace Trellis::Testing {

SelectorBuilder& SelectorBuilder::type(const std::string& name)
{
    current_.type = PooledName(name);
    return *this;
}

SelectorBuilder& SelectorBuilder::style(const std::string& name)
{
    current_.style = PooledName(name);
    return *this;
}

SelectorBuilder& SelectorBuilder::id(const std::string& name)
{
    current_.id = PooledName(name);
    return *this;
}

SelectorBuilder& SelectorBuilder::attribute(const std::string& name, const std::string& value,
                                            AttibuteSelector::eRule rule)
{
    current_.attributes[PooledName(name)][rule] = value;
    return *this;
}

SelectorBuilder& SelectorBuilder::state(eState state, bool holds)
{
    states_[state] = holds ? StateMustHold : StateMustNotHold;
    return *this;
}

SelectorBuilder& SelectorBuilder::descendant()
{
    return next(false);
}

SelectorBuilder& SelectorBuilder::child()
{
    return next(true);
}

SelectorBuilder& SelectorBuilder::next(bool child)
{
    written_.emplace_back(current_, currentIsChild_);
    current_ = {};
    currentIsChild_ = child;
    states_ = {StateAny, StateAny, StateAny, StateAny, StateAny, StateAny, StateAny};
    return *this;
}

// An ancestor's child flag is the relation to the step on its right.
SelectorBuilder::operator ParsedSelector() const
{
    ParsedSelector selector;
    selector.subject = current_;
    selector.states = states_;
    bool relationToRight = currentIsChild_;
    for (auto step = written_.rbegin(); step != written_.rend(); ++step) {
        selector.ancestors.push_back({step->first, relationToRight});
        relationToRight = step->second;
    }
    return selector;
}

tPropertyValue number(std::int32_t value)
{
    return {value, Property::UnitNone};
}

tPropertyValue px(std::int32_t value)
{
    return {value, Property::UnitPx};
}

tPropertyValue percent(std::int32_t value)
{
    return {value, Property::UnitPercent};
}

tPropertyValue decimal(float value, Property::eUnit unit)
{
    return {value, unit};
}

tPropertyValue colour(std::uint32_t value)
{
    return {value, Property::UnitColor};
}

tPropertyValue word(const std::string& text)
{
    return {text, Property::UnitString};
}

tPropertyValue url(const std::string& text)
{
    return {text, Property::UnitUrl};
}

tPropertyValue boolean(bool value)
{
    return {value, Property::UnitBool};
}

ParsedStyle style(std::vector<ParsedSelector> selectors, const tDeclarations& declarations)
{
    ParsedStyle made;
    made.selectors = std::move(selectors);
    for (const auto& [name, value] : declarations) {
        made.properties.push_back({PooledName(name), value});
    }
    return made;
}

std::shared_ptr<TestWidget> widget(const std::string& type, std::optional<bool> horizontal)
{
    return std::make_shared<TestWidget>(type, horizontal);
}

StyleTest::StyleTest()
{
    table.addNumbered("TTFd", 1, testFontBytes());
    table.add("TTFd", "CORVEL.TTF", testFontBytes());
    module = table.module();
    resources = std::make_unique<ManagerContainer>(module);
    root = widget("Bar", true);
    pane.setRoot(root);
}

StyleTest::~StyleTest()
{
    pane.setRoot(nullptr);
    root.reset();
}

std::shared_ptr<TestWidget> StyleTest::add(const std::string& type, const std::string& id, Widget* parent)
{
    auto made = widget(type);
    (parent ? parent : root.get())->addChild(made, PooledName(id));
    return made;
}

const tPropertyValue* StyleTest::find(const Widget& widget, const std::string& property)
{
    return manager().findProperty(widget, PooledName(property));
}

} // namespace Trellis::Testing
