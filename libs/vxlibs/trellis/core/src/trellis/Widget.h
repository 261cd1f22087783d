#pragma once

#include "trellis/Accessible.h"
#include "trellis/AttibuteSelector.h"
#include "trellis/DragDropEventTarget.h"
#include "trellis/DragDropSource.h"
#include "trellis/ParsedStyle.h"
#include "trellis/PooledName.h"

#include <casement/Geometry.h>

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Trellis {

struct ComputedStyle;
class Pane;
struct PaintContext;

// Four edge widths in layout pixels; negative values are allowed.
struct tEdges {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    bool operator==(const tEdges&) const = default;
};

// Stacking directions of layoutChildren(); the values are the edge codes the
// children start from.
enum eDirection : std::uint32_t { LeftToRight = 1, TopToBottom = 16, BottomToTop = 256, RightToLeft = 4096 };

// A node of the widget tree: its identity (id, style name, attributes, type
// name), its place in the tree and in a Pane, its geometry and state flags,
// and what the Pane's update pass and frame cycle need (style, layout and
// repaint requests, ticks), and both sides of drag and drop. Widgets are
// shared objects: a parent holds its children by shared handle, a child
// refers to its parent and Pane by plain pointer. Used on the user-interface
// thread, except repaint().
class Widget : public DragDropEventTarget, public DragDropSource, public std::enable_shared_from_this<Widget> {
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
    // The bit of the dirty bits that asks for the widget's whole rectangle
    // to be repainted.
    static constexpr std::uint32_t RepaintBit = 1;

    Widget() = default;
    virtual ~Widget();
    Widget(const Widget&) = delete;
    Widget& operator=(const Widget&) = delete;

    // The widget's type name as selectors name it ("Bar", "Button",
    // "tree<Bar>"); empty for a plain widget.
    virtual std::string_view getClass() const { return {}; }
    virtual bool isDormant() const { return false; }

    // Tree and identity ------------------------------------------------------

    // Gives the child the id, takes it from its previous parent, and makes it
    // the last child of this widget, in this widget's Pane. The styles of the
    // child's subtree become out of date and their structural matches are
    // forgotten.
    void addChild(std::shared_ptr<Widget> child, const PooledName& id);
    // Takes the child out of this widget (and out of the Pane); the caller's
    // handles keep it alive. Its place is repainted.
    void removeChild(Widget& child);
    // Interns `name` as the style name (a null name keeps the current one),
    // shrinks the widget to 18 by 18, and makes the subtree's styles out of
    // date and forgets their structural matches.
    void setStyle(const char* name);
    // Stores the value; when it changed, the styles of the widget and of its
    // whole subtree become out of date.
    void setAttribute(std::string_view name, const std::string& value);

    const PooledName& id() const { return id_; }
    const PooledName& style() const { return style_; }
    Widget* parent() const { return parent_; }
    const std::vector<std::shared_ptr<Widget>>& children() const { return children_; }
    Pane* pane() const { return pane_; }
    // The value set with setAttribute(), or null.
    const std::string* attribute(const PooledName& name) const;
    // The value of a built-in attribute (getClass, getStyle, getId,
    // isHorizontal); absent for any other name.
    AttibuteSelector::tValue builtInAttribute(const PooledName& name) const;
    // Whether one of the seven selector states holds now.
    bool isInState(eState state) const;

    // Sets the Pane pointer of the widget and its subtree. A widget that
    // leaves a Pane is no longer its hover, pressed or focus widget, its
    // ticks end, and its structural matches are forgotten in the style
    // manager that styled it there.
    void attachToPane(Pane* pane);

    // State flags ------------------------------------------------------------

    std::uint32_t flags() const { return flags_; }
    bool hasFlags(std::uint32_t flags) const { return (flags_ & flags) == flags; }
    bool isStyleOutOfDate() const { return hasFlags(StyleOutOfDate); }
    // Own visible and effectively visible.
    bool isShown() const { return hasFlags(OwnVisible | EffectivelyVisible); }
    // Own enabled and effectively enabled.
    bool isEnabled() const { return hasFlags(OwnEnabled | EffectivelyEnabled); }
    bool isFloating() const { return hasFlags(Floating); }
    // Each invalidates when something changed; a stacked widget that is
    // shown or hidden also invalidates its parent, whose layout changes.
    void setVisible(bool visible);
    void setEnabled(bool enabled);
    void setSelected(bool selected);
    void setFloating(bool floating);
    // Repaints on hover (Button), may take the keyboard focus, receives keys.
    void setHoverSensitive(bool on) { setFlag(HoverSensitive, on); }
    void setFocusable(bool on) { setFlag(Focusable, on); }
    void setKeyTarget(bool on) { setFlag(KeyTarget, on); }

    // Geometry (layout pixels) -----------------------------------------------

    // Relative to the parent's content box (its rectangle inside its margins).
    Casement::Point position() const { return position_; }
    // In Pane coordinates, as of the last update pass.
    Casement::Point absolutePosition() const { return absolute_; }
    std::int32_t width() const { return width_; }
    std::int32_t height() const { return height_; }
    std::int32_t minimumWidth() const { return minimum_.x; }
    std::int32_t minimumHeight() const { return minimum_.y; }
    std::int32_t maximumWidth() const { return maximum_.x; }
    std::int32_t maximumHeight() const { return maximum_.y; }
    const tEdges& margins() const { return margins_; }
    const tEdges& outerMargins() const { return outerMargins_; }
    std::int32_t zIndex() const { return zIndex_; }
    // The widget's rectangle in Pane coordinates.
    Casement::Rect rect() const { return {absolute_.x, absolute_.y, width_, height_}; }
    // The rectangle inside the margins, in Pane coordinates.
    Casement::Rect contentRect() const;
    // The part of the rectangle that may be drawn: the rectangle within the
    // parent's content clip (the Pane's bounds for a root).
    const Casement::Rect& clipRect() const { return clip_; }

    void setPosition(std::int32_t x, std::int32_t y);
    // Clamps to the minimum and to a positive maximum.
    void setSize(std::int32_t width, std::int32_t height);
    virtual void setWidth(std::int32_t width) { setSize(width, height_); }
    virtual void setHeight(std::int32_t height) { setSize(width_, height); }
    // Clamps the current size to the new limits.
    void setSizeLimits(Casement::Point minimum, Casement::Point maximum);
    void setMargins(const tEdges& margins);
    void setOuterMargins(const tEdges& margins);
    // Positions, sizes and margins are kept within ±2^22 pixels.
    static std::int32_t limitExtent(std::int32_t value);

    // Places the visible, non-floating children one after another in the
    // content box, each stretched across the direction.
    void layoutChildren(std::uint32_t direction, std::int32_t spacing);

    // Accessibility (see trellis/Accessible.h) -------------------------------

    // What the widget is to a screen reader: the role set here, else what
    // its class makes it.
    eAccessibleRole accessibleRole() const;
    void setAccessibleRole(eAccessibleRole role);
    // Set here; empty when the widget's text names it, or nothing does.
    const std::string& accessibleName() const { return accessibleName_; }
    void setAccessibleName(std::string_view name);
    const std::string& accessibleDescription() const { return accessibleDescription_; }
    void setAccessibleDescription(std::string_view description);
    // The text the widget shows (UTF-8); empty for widgets without one.
    virtual std::string_view shownText() const { return {}; }

    // Update, repaint and ticks ----------------------------------------------

    // Asks for a style-less update of this widget (layout and position) and
    // a repaint of its rectangle in the next frame cycle.
    void invalidate();
    // Asks for a repaint of the widget's rectangle, without relayout. Other
    // threads may call it too, as long as the widget stays in its Pane.
    void repaint();
    bool needsUpdate() const { return needsUpdate_.load(std::memory_order_relaxed) != 0; }
    // n <= 0 ends the widget's ticks; otherwise onTick() is called after n
    // timer periods of its Pane (held until the widget is in a Pane).
    void scheduleTick(std::int32_t periods);

    // Operations the Pane and painters call -----------------------------------

    virtual void attachChanged(bool /*attached*/) {}
    virtual void realizeChanged(bool /*realised*/) {}
    // Lays out the children; called by the update pass when the widget needs it.
    virtual void layout() {}
    // Called after the widget's children were updated.
    virtual void afterLayout() {}
    // Draws the widget in its own coordinates (the canvas origin is at its
    // top-left corner).
    virtual void paint(PaintContext& /*context*/) {}
    // True makes the widget the target of a hit at (x, y) (Pane coordinates)
    // before its children are tried.
    virtual bool interceptsHit(std::int32_t /*x*/, std::int32_t /*y*/) const { return false; }
    // Widget events (trellis/WidgetEvents.h) with their payloads.
    virtual void onEvent(std::uint32_t /*code*/, const void* /*data*/) {}
    // A key event of the window layer; true consumes it.
    virtual bool onKey(std::uint32_t /*code*/, const void* /*data*/) { return false; }
    virtual void onTick() {}
    // Reads the widget's look from its style: margins, size limits, picture
    // size, position, z-index.
    virtual void applyStyle();

    // The update pass over this widget and its subtree (the Pane runs it on
    // each root); `region` collects the old and new places of moved widgets.
    void update(const Casement::Rect& parentContentClip, bool parentRelayout, std::vector<Casement::Rect>& region);
    // Takes the repaint requests of the subtree into `region`: the whole
    // clip rectangle of a widget asked to repaint, else the places recorded
    // for its children.
    void collectRepaintRegion(std::vector<Casement::Rect>& region, bool covered);
    // The children in painting order (by z-index, stable).
    const std::vector<Widget*>& zOrder();

protected:
    // The answer of the built-in attribute isHorizontal: only widgets that
    // stack their children in a direction have one (true for left-to-right
    // and right-to-left stacking); every other widget has none.
    virtual std::optional<bool> stacksHorizontally() const { return std::nullopt; }
    void setFlag(std::uint32_t flag, bool on);
    // The role of the widget's class: ignored unless a class says otherwise.
    virtual eAccessibleRole classAccessibleRole() const { return eAccessibleRole::Ignored; }

private:
    // A change that only a screen reader sees still runs a frame cycle,
    // after which the accessibility layer compares.
    void accessibilityChanged();
    void detachFromParent();
    void markSubtreeStyleOutOfDate();
    void invalidateLayoutOf(Widget* widget);
    // Records the widget's current place in the parent's repaint region.
    void recordPlaceInParent();
    void applyPictureSize(const ComputedStyle& style);
    void attachForUpdate();
    void detachForUpdate();
    void placeForUpdate(const Casement::Rect& parentContentClip, std::vector<Casement::Rect>& region);

    PooledName id_;
    Widget* parent_ = nullptr;
    std::vector<std::shared_ptr<Widget>> children_;
    Pane* pane_ = nullptr;
    Casement::Point position_;
    Casement::Point absolute_;
    std::int32_t zIndex_ = 0;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    Casement::Point minimum_;
    Casement::Point maximum_;
    tEdges margins_;
    tEdges outerMargins_;
    Casement::Rect clip_;
    PooledName style_;
    std::map<PooledName, std::string> attributes_;
    std::string accessibleName_;
    std::string accessibleDescription_;
    std::optional<eAccessibleRole> accessibleRole_;
    std::int32_t pendingTicks_ = 0;
    std::uint32_t flags_ = NewWidgetFlags;
    std::atomic<std::uint32_t> dirtyBits_{0};
    std::atomic<std::uint8_t> needsUpdate_{0};
    std::vector<Casement::Rect> dirtyRegion_;
    std::vector<Widget*> zOrder_;
};

} // namespace Trellis
