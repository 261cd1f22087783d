#pragma once

#include <memory>
#include <set>

namespace Trellis {

class StyleManager;
class Widget;

// Owns one widget tree and keeps the interaction state that selectors test:
// the hover, pressed, focus, previous focus and input widgets and the mouse
// buttons held. It may carry a style manager of its own, which then styles
// its widgets instead of the toolkit's first style set, and a scale factor by
// which fonts read from computed styles are scaled. Used on the
// user-interface thread only.
class Pane {
public:
    Pane();
    virtual ~Pane();
    Pane(const Pane&) = delete;
    Pane& operator=(const Pane&) = delete;

    // Makes `root` the tree of this Pane (the previous root leaves it) and
    // sets the Pane of every widget of the new tree.
    void setRoot(std::shared_ptr<Widget> root);
    Widget* root() const { return root_.get(); }

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

    // The Pane's own style manager, or null.
    StyleManager* styleManager() const { return styleManager_.get(); }
    void setStyleManager(std::unique_ptr<StyleManager> manager);

    float scale() const { return scale_; }
    void setScale(float scale) { scale_ = scale; }

    // Clears every interaction pointer that refers to the widget, which
    // leaves the Pane or is destroyed.
    void forgetWidget(const Widget& widget);

private:
    std::shared_ptr<Widget> root_;
    Widget* hover_ = nullptr;
    Widget* pressed_ = nullptr;
    Widget* focus_ = nullptr;
    Widget* previousFocus_ = nullptr;
    Widget* input_ = nullptr;
    std::set<int> buttonsHeld_;
    std::unique_ptr<StyleManager> styleManager_;
    float scale_ = 1.0f;
};

} // namespace Trellis
