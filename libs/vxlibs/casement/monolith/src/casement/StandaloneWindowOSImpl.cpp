#include "casement/StandaloneWindowOSImpl.h"

#include "casement/WindowEventRouter.h"
#include "casement/WindowEvents.h"

#include <algorithm>
#include <cmath>

namespace Casement {
namespace {

using tSizeGetter = void (*)(SDL_Window*, int*, int*);
using tSizeSetter = void (*)(SDL_Window*, int, int);

// Sets a size limit unless SDL holds the window to it already. SDL keeps a
// window that is not resizable at its size by itself (then no limit of its
// own is stored), and each limit set costs several round trips to the X
// server, as SDL sets the window's size again with it.
void imposeLimit(SDL_Window* window, tSizeGetter held, tSizeSetter set, int width, int height)
{
    int heldWidth = 0;
    int heldHeight = 0;
    held(window, &heldWidth, &heldHeight);
    if (heldWidth == 0 && heldHeight == 0) {
        SDL_GetWindowSize(window, &heldWidth, &heldHeight);
    }
    if (width != heldWidth || height != heldHeight) {
        set(window, width, height);
    }
}

} // namespace

using DETAIL::DisplayScale;

StandaloneWindow::OSImpl::OSImpl(StandaloneWindow& owner)
    : owner_(owner)
{
}

StandaloneWindow::OSImpl::~OSImpl()
{
    release();
}

bool StandaloneWindow::OSImpl::create(std::int32_t width, std::int32_t height, const std::string& title)
{
    if (window_ != nullptr || width <= 0 || height <= 0) {
        return false;
    }
    // Software presentation through the window surface: no GL context to set
    // up, which makes the first frame several times faster.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    window_ = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height,
                               SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI);
    if (window_ == nullptr) {
        return false;
    }
    windowId_ = SDL_GetWindowID(window_);
    logicalWidth_ = width;
    logicalHeight_ = height;
    updateDeviceSize();
    scale_ = DisplayScale::forWindow(window_);
    // SDL_CreateWindow centred the window at its first size; only a new size
    // needs centring again.
    if (applySize()) {
        SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    }
    DETAIL::WindowEventRouter::add(windowId_, [this](const SDL_Event& event) { handle(event); });
    send(WindowCreated);
    applySizeLimits();
    return true;
}

std::string StandaloneWindow::OSImpl::lastError()
{
    return SDL_GetError();
}

// The whole window is presented as soon as it is mapped (SDL_ShowWindow
// waits for that), rather than on the expose event that follows: that one
// repaints it once more, which also covers a window manager that maps the
// window only later.
void StandaloneWindow::OSImpl::show()
{
    if (window_ == nullptr || !hidden()) {
        return;
    }
    SDL_ShowWindow(window_);
    repaint();
}

bool StandaloneWindow::OSImpl::hidden() const
{
    return (SDL_GetWindowFlags(window_) & SDL_WINDOW_HIDDEN) != 0;
}

std::string StandaloneWindow::OSImpl::title() const
{
    return window_ ? SDL_GetWindowTitle(window_) : "";
}

// SDL places windows in its own window units; the X server's are device
// pixels, where the ratio is 1.
Point StandaloneWindow::OSImpl::screenPosition() const
{
    Point position;
    if (window_) {
        SDL_GetWindowPosition(window_, &position.x, &position.y);
        position = {toDevice(static_cast<float>(position.x)), toDevice(static_cast<float>(position.y))};
    }
    return position;
}

void StandaloneWindow::OSImpl::release()
{
    if (window_ == nullptr) {
        return;
    }
    DETAIL::WindowEventRouter::remove(windowId_);
    if (captured_) {
        SDL_CaptureMouse(SDL_FALSE);
    }
    SDL_DestroyWindow(window_);
    window_ = nullptr;
    windowId_ = 0;
    captured_ = false;
    pointerInside_ = false;
}

void StandaloneWindow::OSImpl::destroy()
{
    if (window_ == nullptr) {
        return;
    }
    release();
    // Last: the handler may delete the window object (and so this).
    send(WindowDestroyed);
}

bool StandaloneWindow::OSImpl::close()
{
    if (window_ == nullptr) {
        return false;
    }
    std::uint8_t allowed = 1;
    send(CloseRequested, &allowed);
    if (allowed == 0 || window_ == nullptr) {
        return false;
    }
    destroy();
    return true;
}

void StandaloneWindow::OSImpl::bringToFront()
{
    if (window_ == nullptr) {
        return;
    }
    const Uint32 flags = SDL_GetWindowFlags(window_);
    if (flags & SDL_WINDOW_MINIMIZED) {
        SDL_RestoreWindow(window_);
    }
    show();
    SDL_RaiseWindow(window_);
}

bool StandaloneWindow::OSImpl::send(std::uint32_t code, void* payload)
{
    return owner_.handleEvent(code, payload, false);
}

void StandaloneWindow::OSImpl::handle(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_WINDOWEVENT: handleWindowEvent(event.window); break;
    case SDL_MOUSEMOTION: handleMotion(event.motion); break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: handleButton(event.button); break;
    case SDL_MOUSEWHEEL: handleWheel(event.wheel); break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: handleKey(event.key); break;
    case SDL_TEXTINPUT: handleText(event.text); break;
    case SDL_DROPBEGIN:
    case SDL_DROPFILE:
    case SDL_DROPTEXT:
    case SDL_DROPCOMPLETE: handleDrop(event.drop); break;
    default: break;
    }
}

void StandaloneWindow::OSImpl::handleWindowEvent(const SDL_WindowEvent& event)
{
    switch (event.event) {
    case SDL_WINDOWEVENT_EXPOSED: repaint(); break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        updateDeviceSize();
        checkDensity();
        break;
    case SDL_WINDOWEVENT_RESTORED: sendSizeState(0); break;
    case SDL_WINDOWEVENT_MAXIMIZED: sendSizeState(1); break;
    case SDL_WINDOWEVENT_MINIMIZED: sendSizeState(2); break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        // Activating a top-level window puts it on top of the others.
        send(RaisedToTop);
        send(Activated);
        send(FocusGained);
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST: handleFocusLost(); break;
    case SDL_WINDOWEVENT_LEAVE: handleLeave(); break;
    case SDL_WINDOWEVENT_DISPLAY_CHANGED: checkDensity(); break;
    case SDL_WINDOWEVENT_CLOSE: close(); break;
    default: break;
    }
}

// SDL has no event for a lost pointer capture; losing the focus ends it.
void StandaloneWindow::OSImpl::handleFocusLost()
{
    if (captured_) {
        captured_ = false;
        SDL_CaptureMouse(SDL_FALSE);
        send(CaptureLost);
    }
    send(Deactivated);
    send(FocusLost);
}

void StandaloneWindow::OSImpl::repaint()
{
    repaint({0, 0, deviceWidth_, deviceHeight_});
}

// Synchronous: SDL keeps no queue of areas to paint, so the handler presents
// the area at once. A hidden window is not presented: nothing of it would
// reach the screen, and show() presents the whole window.
void StandaloneWindow::OSImpl::repaint(const Rect& device)
{
    const Rect area = intersect(device, {0, 0, deviceWidth_, deviceHeight_});
    if (window_ != nullptr && !area.empty() && !hidden()) {
        tPaintContext context{&owner_, area, scale_.backing, scale_.exact};
        send(Repaint, &context);
    }
}

void StandaloneWindow::OSImpl::repaintLogical(const Rect& logical)
{
    const auto left = static_cast<std::int32_t>(std::floor(logical.x * scale_.exact));
    const auto top = static_cast<std::int32_t>(std::floor(logical.y * scale_.exact));
    const auto right = static_cast<std::int32_t>(std::ceil(logical.right() * scale_.exact));
    const auto bottom = static_cast<std::int32_t>(std::ceil(logical.bottom() * scale_.exact));
    repaint({left, top, right - left, bottom - top});
}

void StandaloneWindow::OSImpl::sendSizeState(std::int32_t state)
{
    send(SizeChanged, &state);
}

void StandaloneWindow::OSImpl::updateDeviceSize()
{
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(window_, &width, &height);
    SDL_GetWindowSizeInPixels(window_, &deviceWidth_, &deviceHeight_);
    pixelRatio_ = width > 0 && deviceWidth_ > 0 ? static_cast<double>(deviceWidth_) / width : 1.0;
}

// The client area is the logical size at the exact scale, in device pixels.
// False when the window has that size already (then it is left alone).
bool StandaloneWindow::OSImpl::applySize()
{
    const std::int32_t width = DisplayScale::toDevice(logicalWidth_, scale_.exact);
    const std::int32_t height = DisplayScale::toDevice(logicalHeight_, scale_.exact);
    const int unitsWide = static_cast<int>(std::lround(width / pixelRatio_));
    const int unitsHigh = static_cast<int>(std::lround(height / pixelRatio_));
    int currentWide = 0;
    int currentHigh = 0;
    SDL_GetWindowSize(window_, &currentWide, &currentHigh);
    if (currentWide == unitsWide && currentHigh == unitsHigh) {
        return false;
    }
    SDL_SetWindowSize(window_, unitsWide, unitsHigh);
    updateDeviceSize();
    return true;
}

// Asks the handler for the size limits (offering the fixed size as both) and
// imposes them in SDL's window units.
void StandaloneWindow::OSImpl::applySizeLimits()
{
    tSizeLimits limits{tSizeLimits::MinimumGiven | tSizeLimits::MaximumGiven, logicalWidth_, logicalHeight_,
                       logicalWidth_, logicalHeight_};
    send(SizeLimits, &limits);
    if (window_ == nullptr) {
        return;
    }
    const auto units = [this](std::int32_t logical) {
        const double device = DisplayScale::toDevice(logical, scale_.exact);
        return std::max(1, static_cast<int>(std::lround(device / pixelRatio_)));
    };
    if (limits.flags & tSizeLimits::MinimumGiven) {
        imposeLimit(window_, SDL_GetWindowMinimumSize, SDL_SetWindowMinimumSize, units(limits.minWidth),
                    units(limits.minHeight));
    }
    if (limits.flags & tSizeLimits::MaximumGiven) {
        imposeLimit(window_, SDL_GetWindowMaximumSize, SDL_SetWindowMaximumSize, units(limits.maxWidth),
                    units(limits.maxHeight));
    }
}

// A move to a display of another density (or a new scale on Wayland) resizes
// the window to keep its logical size and tells the handler the new backing scale.
void StandaloneWindow::OSImpl::checkDensity()
{
    const DETAIL::tDisplayScale scale = DisplayScale::forWindow(window_);
    if (scale == scale_) {
        return;
    }
    scale_ = scale;
    applySize();
    applySizeLimits();
    float backing = static_cast<float>(scale_.backing);
    send(DensityChanged, &backing);
}

} // namespace Casement
