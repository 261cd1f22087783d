#pragma once

#include <casement/Geometry.h>

#include <string>

namespace Trellis {

class Pane;

// A window whose widget tree the accessibility layer publishes.
class IAccessibleWindow {
public:
    virtual ~IAccessibleWindow() = default;
    virtual Pane& accessiblePane() = 0;
    virtual std::string accessibleTitle() const = 0;
    // The client area on the screen, in device pixels, and device pixels
    // per layout pixel.
    virtual Casement::Rect screenArea() const = 0;
    virtual double deviceScale() const = 0;
    // The window is shown, and has the keyboard.
    virtual bool isShownWindow() const = 0;
    virtual bool isActiveWindow() const = 0;
};

// Publishes the widget trees of the toolkit's windows to screen readers and
// other assistive programs: the program as an application, each window as a
// frame named by its title, and below it the accessible widgets (see
// trellis/Accessible.h) with their roles, names, descriptions, texts, states
// and places on the screen; a button offers one action, "click", which takes
// the mouse's road (Pane::clickAsIfPointed) on the next turn of the message
// loop. After every frame cycle of a window the layer compares the tree with
// what it last told and sends the differences as events: names,
// descriptions, texts, states (focus among them), children; then the
// window's announcements. Windows register themselves whether or not the
// layer runs. Used on the user-interface thread.
class Accessibility {
public:
    class OSImpl;

    // Joins the desktop's accessibility bus as `programName`. False, and
    // nothing published, when there is no bus or accessibility is switched
    // off (NO_AT_BRIDGE=1); the program then runs as it would without.
    static bool start(const std::string& programName);
    // Leaves the bus; the published objects become defunct.
    static void stop();
    static bool isActive();

    static void addWindow(IAccessibleWindow& window);
    static void removeWindow(IAccessibleWindow& window);
    // After a frame cycle, or when the window gained or lost the keyboard:
    // sends what changed since the last call. Nothing while the layer is off.
    static void windowChanged(IAccessibleWindow& window);
};

} // namespace Trellis
