#pragma once

#include "casement/DisplayScale.h"
#include "casement/Geometry.h"
#include "casement/StandaloneWindow.h"
#include "casement/WindowEvents.h"

#include <SDL.h>

#include <cstdint>
#include <string>

namespace Casement {

// The SDL half of StandaloneWindow. The window is presented through its
// window surface in software (never through an SDL renderer), and SDL's
// events for it arrive through the window event router.
//
// Left out because the updater's widgets need neither: relative pointer
// motion from the raw mouse device, warping the pointer back into the window
// during a drag (so the accumulated travel stays 0 between press and
// release), and layered (per-pixel transparent) windows.
class StandaloneWindow::OSImpl {
public:
    explicit OSImpl(StandaloneWindow& owner);
    ~OSImpl();
    OSImpl(const OSImpl&) = delete;
    OSImpl& operator=(const OSImpl&) = delete;

    bool create(std::int32_t width, std::int32_t height, const std::string& title);
    static std::string lastError();
    void show();
    void destroy();
    bool close();
    void bringToFront();
    bool setIcon(const std::uint32_t* pixels, std::int32_t width, std::int32_t height);
    bool present(const std::uint32_t* buffer, std::int32_t width, std::int32_t height, const Rect& dirty);
    // Sends the repaint event for the part of a logical area inside the window.
    void repaintLogical(const Rect& logical);

    SDL_Window* window() const { return window_; }
    bool hidden() const;
    std::string title() const;
    Point screenPosition() const;
    std::uint32_t windowId() const { return windowId_; }
    const DETAIL::tDisplayScale& scale() const { return scale_; }
    std::int32_t logicalWidth() const { return logicalWidth_; }
    std::int32_t logicalHeight() const { return logicalHeight_; }
    std::int32_t deviceWidth() const { return deviceWidth_; }
    std::int32_t deviceHeight() const { return deviceHeight_; }

    // One SDL event of this window, turned into window events.
    void handle(const SDL_Event& event);

private:
    bool send(std::uint32_t code, void* payload = nullptr);
    void release();

    void handleWindowEvent(const SDL_WindowEvent& event);
    void handleFocusLost();
    void handleMotion(const SDL_MouseMotionEvent& event);
    void handleButton(const SDL_MouseButtonEvent& event);
    void handleWheel(const SDL_MouseWheelEvent& event);
    void handleLeave();
    void handleKey(const SDL_KeyboardEvent& event);
    void handleText(const SDL_TextInputEvent& event);
    void handleDrop(const SDL_DropEvent& event);

    void repaint();
    void repaint(const Rect& device);
    void sendSizeState(std::int32_t state);
    bool applySize();
    void applySizeLimits();
    void updateDeviceSize();
    void checkDensity();
    Point toLogical(std::int32_t x, std::int32_t y) const;
    std::int32_t toDevice(float windowUnits) const;
    std::uint32_t pointerModifiers() const;

    StandaloneWindow& owner_;
    SDL_Window* window_ = nullptr;
    std::uint32_t windowId_ = 0;
    DETAIL::tDisplayScale scale_;
    std::int32_t logicalWidth_ = 0;
    std::int32_t logicalHeight_ = 0;
    std::int32_t deviceWidth_ = 0;
    std::int32_t deviceHeight_ = 0;
    // Device pixels per SDL window unit (above 1 where the platform scales windows).
    double pixelRatio_ = 1.0;
    bool captured_ = false;
    bool pointerInside_ = false;
    Point travel_;
    Point lastPosition_;
    std::uint32_t lastModifiers_ = 0;
    tDropData dropped_;  // what the drop under way has brought so far
};

} // namespace Casement
