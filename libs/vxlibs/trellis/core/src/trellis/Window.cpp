#include "trellis/Window.h"

#include <casement/AsyncEventTarget.h>
#include <casement/ShellEvents.h>
#include <casement/StandaloneWindow.h>
#include <casement/WindowEvents.h>

#include <algorithm>
#include <cmath>
#include <utility>

namespace Trellis {
namespace {

// The timer entry of a toolkit window: every period, after windows of higher priority.
constexpr int TickInterval = 0;
constexpr int TickPriority = -10;
// The framework's event that asks for a frame cycle and a full repaint.
constexpr std::uint32_t FullRepaint = 1000013;

} // namespace

template <class PlatformWindow>
Window<PlatformWindow>::Window(Casement::EventTimerManager& timers) : timers_(timers)
{
}

// The platform window is released without the destroyed event, so the timer
// entry goes here.
template <class PlatformWindow>
Window<PlatformWindow>::~Window()
{
    endTicks();
}

template <class PlatformWindow>
Casement::Rect Window<PlatformWindow>::screenArea() const
{
    const Casement::Point corner = this->screenPosition();
    return {corner.x, corner.y, this->clientWidth(), this->clientHeight()};
}

template <class PlatformWindow>
bool Window<PlatformWindow>::handleEvent(std::uint32_t code, void* payload, bool flag)
{
    if (PlatformWindow::handleEvent(code, payload, flag)) {
        return true;
    }
    switch (code) {
    case Casement::WindowCreated: onCreated(); return true;
    case Casement::SizeChanged: onSizeChanged(); return true;
    case FullRepaint: repaintAll(); return true;
    case Casement::TickEvent: onTick(); return true;
    case Casement::Repaint: {
        const auto& context = *static_cast<const Casement::tPaintContext*>(payload);
        const Casement::Picture& buffer = canvas_.getBuffer();
        this->present(buffer.pixels(), buffer.width(), buffer.height(), context.dirty);
        return true;
    }
    case Casement::DensityChanged: onDensityChanged(*static_cast<const float*>(payload)); return true;
    case Casement::WindowDestroyed: endTicks(); return true;
    case Casement::SizeLimits: return false;
    case Casement::FocusGained:
    case Casement::FocusLost:
        pane_.handleEvent(code, payload);
        Accessibility::windowChanged(*this);
        return true;
    default: return pane_.handleEvent(code, payload);
    }
}

// Without the cross-thread target (the framework is not initialised) the
// timer never rests: a wake from another thread could not reach it.
template <class PlatformWindow>
void Window<PlatformWindow>::onCreated()
{
    canvas_.setScale(this->backingScale());
    uiThread_ = std::this_thread::get_id();
    wakerRegistered_ = Casement::AsyncEventTarget::isOpen();
    if (wakerRegistered_) {
        Casement::AsyncEventTarget::add(wakerKey(), &waker_);
    }
    Accessibility::addWindow(*this);
    startTicks();
    onSizeChanged();
}

template <class PlatformWindow>
void Window<PlatformWindow>::startTicks()
{
    if (!timer_ && this->isCreated()) {
        timer_ = timers_.addTimer(this, TickInterval, TickPriority);
    }
}

// The platform window is gone: no more ticks, no more wakes, and nothing
// published.
template <class PlatformWindow>
void Window<PlatformWindow>::endTicks()
{
    Accessibility::removeWindow(*this);
    if (std::exchange(wakerRegistered_, false)) {
        Casement::AsyncEventTarget::remove(wakerKey());
    }
    resting_.store(false);
    if (timer_) {
        timers_.removeTimer(std::exchange(timer_, nullptr));
    }
}

// The rest is announced before the Pane is asked: a change made meanwhile on
// another thread either shows in the answer or finds the flag and wakes the
// timer again.
template <class PlatformWindow>
void Window<PlatformWindow>::restIfIdle()
{
    if (!timer_ || !wakerRegistered_ || !pane_.isIdle()) {
        return;
    }
    resting_.store(true);
    if (!pane_.isIdle()) {
        resting_.store(false);
        return;
    }
    timers_.removeTimer(std::exchange(timer_, nullptr));
}

template <class PlatformWindow>
void Window<PlatformWindow>::wakeFrames()
{
    if (!resting_.exchange(false)) {
        return;
    }
    if (std::this_thread::get_id() == uiThread_) {
        startTicks();
    } else {
        Casement::AsyncEventTarget::post(0, wakerKey());
    }
}

template <class PlatformWindow>
void Window<PlatformWindow>::onSizeChanged()
{
    pane_.setSize(this->logicalWidth(), this->logicalHeight());
    const Casement::Rect bounds = pane_.bounds();
    canvas_.resize({bounds.width, bounds.height});
    repaintAll();
}

template <class PlatformWindow>
void Window<PlatformWindow>::onTick()
{
    pane_.tick();
    const auto region = pane_.runFrameCycle();
    if (!region.empty()) {
        paintAndPresent(region);
    }
    Accessibility::windowChanged(*this);
    restIfIdle();
}

// A canvas at another scale starts blank: everything is painted again.
template <class PlatformWindow>
void Window<PlatformWindow>::onDensityChanged(float backingScale)
{
    canvas_.setScale(std::max(1, static_cast<int>(std::lround(backingScale))));
    repaintAll();
}

template <class PlatformWindow>
void Window<PlatformWindow>::repaintAll()
{
    pane_.runFrameCycle();
    paintAndPresent({pane_.bounds()});
    Accessibility::windowChanged(*this);
}

template <class PlatformWindow>
void Window<PlatformWindow>::paintAndPresent(const std::vector<Casement::Rect>& region)
{
    const Casement::Rect bounds = pane_.bounds();
    if (bounds.empty()) {
        return;
    }
    pane_.paint(region, canvas_, Pane::AllTrees);
    for (const Casement::Rect& rect : region) {
        this->requestRepaint(rect);
    }
}

template class Window<Casement::StandaloneWindow>;

} // namespace Trellis
