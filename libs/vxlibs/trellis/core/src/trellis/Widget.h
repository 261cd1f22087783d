#pragma once

#include "trellis/AttibuteSelector.h"
#include "trellis/ParsedStyle.h"
#include "trellis/PooledName.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Trellis {

class Pane;

// A node of the widget tree: its identity (id, style name, attributes, type
// name), its place in the tree and in a Pane, and the state flags that
// stylesheet selectors test. Widgets are shared objects: a parent holds its
// children by shared handle, a child refers to its parent and Pane by plain
// pointer. Used on the user-interface thread only.
class Widget : public std::enable_shared_from_this<Widget> {
public:
    enum eFlags : std::uint32_t {
        OwnVisible = 0x1,
        Attached = 0x2,
        EffectivelyVisible = 0x4,
        Realised = 0x8,
        OwnEnabled = 0x10,
        EffectivelyEnabled = 0x20,
        Selected = 0x40,
        HoverSensitive = 0x80,
        Focusable = 0x100,
        KeyTarget = 0x400,
        Floating = 0x800,
        LayoutManaged = 0x1000,
        DrawForegroundFalse = 0x2000,
        DrawForegroundTrue = 0x4000,
        RelayoutPending = 0x8000,
        StyleOutOfDate = 0x80000,
    };
    // Visible, effectively visible, realised, enabled, effectively enabled,
    // layout-managed, "draw_foreground" false and style out of date.
    static constexpr std::uint32_t NewWidgetFlags = 0x8303D;
    // The size a widget shrinks to when its style name changes, until the
    // next style pass gives it its real size.
    static constexpr std::int32_t UnstyledSize = 18;

    Widget() = default;
    virtual ~Widget();
    Widget(const Widget&) = delete;
    Widget& operator=(const Widget&) = delete;

    // The widget's type name as selectors name it ("Bar", "Button",
    // "tree<Bar>"); empty for a plain widget.
    virtual std::string_view getClass() const { return {}; }
    virtual bool isDormant() const { return false; }

    // Gives the child the id, takes it from its previous parent, and makes it
    // the last child of this widget, in this widget's Pane. The styles of the
    // child's subtree become out of date and their structural matches are
    // forgotten.
    void addChild(std::shared_ptr<Widget> child, const PooledName& id);
    // Interns `name` as the style name (a null name keeps the current one),
    // shrinks the widget to 18 by 18, and makes the subtree's styles out of
    // date and forgets their structural matches.
    void setStyle(const char* name);
    // Stores the value; when it changed, the styles of the widget and of its
    // whole subtree become out of date.
    void setAttribute(std::string_view name, const std::string& value);
    void setEnabled(bool enabled);
    void setSelected(bool selected);

    const PooledName& id() const { return id_; }
    const PooledName& style() const { return style_; }
    Widget* parent() const { return parent_; }
    const std::vector<std::shared_ptr<Widget>>& children() const { return children_; }
    Pane* pane() const { return pane_; }
    std::uint32_t flags() const { return flags_; }
    bool isStyleOutOfDate() const { return (flags_ & StyleOutOfDate) != 0; }
    // The value set with setAttribute(), or null.
    const std::string* attribute(const PooledName& name) const;

    // The value of a built-in attribute (getClass, getStyle, getId,
    // isHorizontal); absent for any other name.
    AttibuteSelector::tValue builtInAttribute(const PooledName& name) const;
    // Whether one of the seven selector states holds now.
    bool isInState(eState state) const;

    std::int32_t width() const { return width_; }
    std::int32_t height() const { return height_; }
    std::int32_t minimumWidth() const { return minimumWidth_; }
    std::int32_t minimumHeight() const { return minimumHeight_; }

    // Sets the Pane pointer of the widget and its subtree. A widget that
    // leaves a Pane is no longer its hover, pressed or focus widget, and its
    // structural matches are forgotten in the style manager that styled it
    // there.
    void attachToPane(Pane* pane);

protected:
    // The answer of the built-in attribute isHorizontal: only widgets that
    // stack their children in a direction have one (true for left-to-right
    // and right-to-left stacking); every other widget has none.
    virtual std::optional<bool> stacksHorizontally() const { return std::nullopt; }

private:
    void detachFromParent();
    void markSubtreeStyleOutOfDate();
    void setFlag(std::uint32_t flag, bool on);

    PooledName id_;
    Widget* parent_ = nullptr;
    std::vector<std::shared_ptr<Widget>> children_;
    Pane* pane_ = nullptr;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    std::int32_t minimumWidth_ = 0;
    std::int32_t minimumHeight_ = 0;
    PooledName style_;
    std::map<PooledName, std::string> attributes_;
    std::uint32_t flags_ = NewWidgetFlags;
};

} // namespace Trellis
