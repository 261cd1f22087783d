#pragma once

#include "casement/EventHandler.h"
#include "casement/Geometry.h"

#include <cstdint>
#include <memory>
#include <string>

namespace Casement {

class Picture;

// A top-level window of fixed size with a caption, a system menu and a
// minimise button. It turns the platform's window, pointer and keyboard events
// into numbered window events (casement/WindowEvents.h) for handleEvent, and
// puts finished 32-bit pixel buffers on the screen.
class StandaloneWindow : public EventHandler {
public:
    class OSImpl;

    StandaloneWindow();
    // Releases the platform window without sending events.
    ~StandaloneWindow() override;
    StandaloneWindow(const StandaloneWindow&) = delete;
    StandaloneWindow& operator=(const StandaloneWindow&) = delete;

    // Creates the platform window, hidden, with a client area of `width` x
    // `height` logical units, and sends the window-created event and the size
    // query. False when the window exists already or the platform refuses.
    bool create(std::int32_t width, std::int32_t height, const std::string& title);
    bool isCreated() const;
    // Why the platform refused the last request, such as create(), in its
    // own words.
    static std::string platformError();

    // The window's icon from a picture, or from 32-bit pixels (blue, green,
    // red, alpha in memory, rows top to bottom). False for an empty picture
    // or when there is no window.
    bool setIcon(const Picture& icon);
    bool setIcon(const std::uint32_t* pixels, std::int32_t width, std::int32_t height);

    // Shows a hidden window and presents all of it (the repaint event). A
    // hidden window is never presented: there is nothing to see of it.
    void show();
    // Shows a hidden or minimised window again and puts it in front of the others.
    void bringToFront();
    // Asks the handler as a close by the user would (the close-request event);
    // destroys the window unless the handler refused. True when it was destroyed.
    bool close();
    // Destroys the platform window and then sends the window-destroyed event
    // (the handler may delete this object then).
    void destroy();

    // The client area in device pixels.
    std::int32_t clientWidth() const;
    std::int32_t clientHeight() const;
    // The client area in logical units, as given to create().
    std::int32_t logicalWidth() const;
    std::int32_t logicalHeight() const;
    // Device pixels per logical unit, and that rounded up: the scale that
    // canvases for this window are drawn at.
    double exactScale() const;
    std::int32_t backingScale() const;

    // Copies a 32-bit buffer (blue, green, red, alpha in memory, rows top to
    // bottom) to the `dirty` area of the window, in device pixels. A buffer of
    // the window's device size is copied unscaled; another size (a canvas at
    // the backing scale) is scaled to the device size with smoothing. False
    // when there is no window, no buffer or the platform fails.
    bool present(const std::uint32_t* buffer, std::int32_t width, std::int32_t height, const Rect& dirty);
    // Asks for the repaint event for a logical area (at once: the handler
    // presents before this returns); nothing without a window or while it is
    // hidden.
    void requestRepaint(const Rect& logical);

    // The platform's id for the window (0 when there is none).
    std::uint32_t windowId() const;
    // The caption; empty when there is no window.
    std::string title() const;
    // Where the client area's top-left corner is on the screen, in device
    // pixels ({0, 0} without a window or when the platform cannot tell).
    Point screenPosition() const;
    // Created and not hidden.
    bool isShown() const;

    // Answers the shell's requests (CloseWindowRequest destroys the window,
    // RaiseWindowRequest brings it to the front); false for every other event.
    // A subclass passes the codes it does not handle on to this one.
    bool handleEvent(std::uint32_t code, void* payload, bool flag) override;

    OSImpl& osImpl() { return *impl_; }

private:
    std::unique_ptr<OSImpl> impl_;
};

} // namespace Casement
