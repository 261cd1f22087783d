#pragma once

#include <casement/Geometry.h>

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace Casement {
struct tDragEvent;
struct tMouseButtonEvent;
struct tMouseMoveEvent;
} // namespace Casement

namespace Trellis {

class Canvas;
class StyleManager;
class Widget;
struct PaintContext;

// Owns one widget tree (and a stack of overlay trees above it) and runs it:
// routes mouse and keyboard events of the window layer to the widgets, keeps
// the hover, pressed, focus, previous focus and input widgets and the mouse
// buttons held, counts down widget ticks, runs the frame cycle (styles,
// layout, the repaint region) and paints the region into a canvas. It may
// carry a style manager of its own, which then styles its widgets instead of
// the toolkit's first style set, and the scale factor by which fonts read
// from computed styles are scaled. A plain Pane has no window: the window
// services (mouse capture) do nothing, which is how tests run it. Used on the
// user-interface thread; only raiseDirty() may be called from other threads.
class Pane {
public:
    // Bits of the dirty word.
    enum eDirty : std::uint32_t { RepaintOnly = 1, RelayoutAndRepaint = 3 };
    // Trees for paint().
    enum eTrees : std::uint32_t { RootTree = 1, LayerTrees = 2, AllTrees = 3 };
    // Update passes one frame cycle runs at most while widgets keep asking
    // for relayout.
    static constexpr int MaxUpdatePasses = 5;

    Pane();
    virtual ~Pane();
    Pane(const Pane&) = delete;
    Pane& operator=(const Pane&) = delete;

    // Makes `root` the tree of this Pane (the previous root leaves it) and
    // sets the Pane of every widget of the new tree. The root covers the Pane.
    void setRoot(std::shared_ptr<Widget> root);
    Widget* root() const { return root_.get(); }
    // Overlay trees, painted and hit-tested above the root, the last added on top.
    void addLayer(std::shared_ptr<Widget> layer);
    void removeLayer(Widget& layer);
    const std::vector<std::shared_ptr<Widget>>& layers() const { return layers_; }

    // The Pane's size in layout pixels; the root is laid over it.
    void setSize(std::int32_t width, std::int32_t height);
    Casement::Rect bounds() const { return {0, 0, width_, height_}; }

    // Frame cycle ----------------------------------------------------------

    // The first bit raised after a frame cycle took the word announces that
    // a frame is wanted (see frameWanted()).
    void raiseDirty(std::uint32_t bits)
    {
        if (dirty_.fetch_or(bits) == 0) {
            frameWanted();
        }
    }
    std::uint32_t dirtyWord() const { return dirty_.load(std::memory_order_relaxed); }
    // Nothing to do until something changes: no dirty bit and no tick
    // scheduled. Read on the user-interface thread.
    bool isIdle() const { return dirty_.load() == 0 && ticks_.empty(); }
    // Takes the dirty word; while it asks for relayout runs update passes
    // (MaxUpdatePasses at most); when a repaint was asked for, returns the
    // region to repaint, in Pane coordinates (no rectangle inside another).
    std::vector<Casement::Rect> runFrameCycle();
    // Repaints the region: clears it (for the root tree), then paints the
    // chosen trees into the canvas at the canvas's scale.
    void paint(const std::vector<Casement::Rect>& region, Canvas& canvas, std::uint32_t trees);

    // Ticks ----------------------------------------------------------------

    // n <= 0 removes the widget's ticks, else onTick() falls due after n periods.
    void setTicks(Widget& widget, std::int32_t periods);
    // The periods left for the widget (0 when none are scheduled).
    std::int32_t ticksLeft(const Widget& widget) const;
    // One timer period: counts down the ticks of shown widgets and calls
    // onTick() of those that fall due.
    void tick();

    // Input ----------------------------------------------------------------

    // Mouse events 1000 to 1099 and key events 1100 to 1199 of the window
    // layer; true when the event was one of those.
    virtual bool handleEvent(std::uint32_t code, const void* data);
    // Offers a key event to the input widget's key targets and then, while
    // the window has the keyboard focus, to the focus widget's focusable
    // ancestors; true when one consumed it. Tab and Shift+Tab that none
    // consumed move the focus in tree order.
    bool dispatchKey(std::uint32_t code, const void* data);
    // A drag event of the window layer (Casement::DragEnter to Drop, Pane
    // coordinates): the widget under the pointer is offered it, then notified
    // of it (see DragDropEventTarget). True when that widget takes the drop.
    bool dispatchDrag(std::uint32_t code, const Casement::tDragEvent& event);
    // The widget under a Pane point, or null.
    Widget* hitTest(std::int32_t x, std::int32_t y) const;
    // A click of the first mouse button in the middle of the widget's
    // visible part, taking the mouse's road as if the pointer were there,
    // which stays where it was. Nothing, and false, when a click there would
    // not reach the widget (it is hidden, disabled, covered or not in this
    // Pane) or a mouse button is held.
    bool clickAsIfPointed(Widget& widget);
    // Makes `widget` the focus widget (null: none). When that changes, the
    // old and the new focus widget are repainted and told (FocusLeft,
    // FocusEntered), and the old one becomes the previous focus widget.
    void setFocus(Widget* widget);
    // Moves the focus to the next (backward: the previous) widget in tree
    // order that is focusable, shown and enabled, within the focus scope,
    // wrapping round; false when there is none.
    bool moveFocusInOrder(bool backward);
    // The subtree the focus moves in (null: the root and the layers), so
    // that a modal part of the tree keeps the keyboard to itself. Hiding
    // the scope widget ends the scope.
    void setFocusScope(Widget* scope) { focusScope_ = scope; }
    Widget* focusScope() const { return focusScope_; }
    void setKeyboardFocus(bool on) { keyboardFocus_ = on; }
    bool hasKeyboardFocus() const { return keyboardFocus_; }
    Casement::Point lastPointer() const { return lastPointer_; }

    Widget* hoverWidget() const { return hover_; }
    Widget* pressedWidget() const { return pressed_; }
    Widget* focusWidget() const { return focus_; }
    Widget* previousFocusWidget() const { return previousFocus_; }
    Widget* inputWidget() const { return input_; }
    void setHoverWidget(Widget* widget) { hover_ = widget; }
    void setPressedWidget(Widget* widget) { pressed_ = widget; }
    void setFocusWidget(Widget* widget) { focus_ = widget; }
    void setPreviousFocusWidget(Widget* widget) { previousFocus_ = widget; }
    void setInputWidget(Widget* widget) { input_ = widget; }

    void pressMouseButton(int button) { buttonsHeld_.insert(button); }
    void releaseMouseButton(int button) { buttonsHeld_.erase(button); }
    bool isMouseButtonHeld() const { return !buttonsHeld_.empty(); }

    // Announcements --------------------------------------------------------

    // Asks screen readers to speak `text` now, on behalf of `widget` (for
    // example the message of a page just shown). The accessibility layer
    // takes the announcements after the next frame cycle; without one, only
    // the latest few are kept.
    void announce(const Widget& widget, std::string_view text);
    std::vector<std::pair<std::weak_ptr<const Widget>, std::string>> takeAnnouncements();

    // Styles ---------------------------------------------------------------

    // The Pane's own style manager, or null.
    StyleManager* styleManager() const { return styleManager_.get(); }
    void setStyleManager(std::unique_ptr<StyleManager> manager);

    float scale() const { return scale_; }
    void setScale(float scale) { scale_ = scale; }

    // Clears every interaction pointer and the ticks of the widget, which
    // leaves the Pane or is destroyed.
    void forgetWidget(const Widget& widget);
    // Clears the interaction pointers that refer to the widget, which is
    // hidden.
    void dropInteraction(const Widget& widget);

protected:
    // Window services; a Pane without a window has none.
    virtual void captureMouse() {}
    virtual void releaseMouse() {}
    // The Pane has work again after being idle: a dirty bit was raised (any
    // thread) or a tick scheduled (user-interface thread). A window that
    // stops its frame cycles while the Pane is idle starts them again here.
    virtual void frameWanted() {}
    // The pointer left the window's reach (capture lost): no hover, no press.
    void dropPointer();

private:
    void placeRoot();
    void updateTrees();
    void onMouseButton(const Casement::tMouseButtonEvent& event);
    void onMouseMove(const Casement::tMouseMoveEvent& event);
    void onButtonReleased(const Casement::tMouseButtonEvent& event);
    void setHover(Widget* widget);
    void moveFocus(Widget* pressed);
    void paintTree(Widget& widget, PaintContext& context);

    std::shared_ptr<Widget> root_;
    std::vector<std::shared_ptr<Widget>> layers_;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    std::vector<Casement::Rect> places_;  // old and new places of the tree roots
    Widget* hover_ = nullptr;
    Widget* pressed_ = nullptr;
    Widget* focus_ = nullptr;
    Widget* previousFocus_ = nullptr;
    Widget* input_ = nullptr;
    Widget* focusScope_ = nullptr;
    bool pressWasDoubleClick_ = false;
    bool keyboardFocus_ = true;
    std::set<int> buttonsHeld_;
    Casement::Point lastPointer_;
    std::map<Widget*, std::int32_t> ticks_;
    std::vector<std::pair<std::weak_ptr<const Widget>, std::string>> announcements_;
    std::atomic<std::uint32_t> dirty_{0};
    std::unique_ptr<StyleManager> styleManager_;
    float scale_ = 1.0f;
};

} // namespace Trellis
