#pragma once

#include "trellis/Accessibility.h"
#include "trellis/BackgroundDrawingCanvas.h"
#include "trellis/WindowingPane.h"

#include <casement/EventTarget.h>
#include <casement/EventTimerManager.h>

#include <atomic>
#include <cstdint>
#include <thread>

namespace Trellis {

// A platform window joined to one widget tree: it owns the WindowingPane
// that holds the tree and the canvas the tree is painted into, and turns the
// window's events into the frame cycle. While the Pane has work, every 40 ms
// timer period ticks the Pane and runs a frame cycle; what the cycle finds to
// repaint is painted into the canvas and only those rectangles are presented.
// A tick that leaves the Pane idle lets the timer rest, so that an idle
// window does not wake the loop at all; the next change or scheduled tick
// starts it again (from another thread through a posted command). Input goes
// to the Pane. While the platform window exists, the accessibility layer
// publishes the tree, compared after every frame cycle and focus change.
// Used on the user-interface thread.
template <class PlatformWindow>
class Window : public PlatformWindow, private IPaneWindow, private IAccessibleWindow {
public:
    // Ticks come from `timers` while the platform window exists.
    explicit Window(Casement::EventTimerManager& timers);
    ~Window() override;

    WindowingPane& pane() { return pane_; }
    const BackgroundDrawingCanvas& canvas() const { return canvas_; }

    bool handleEvent(std::uint32_t code, void* payload, bool flag) override;

private:
    // Takes a wake posted by another thread to the user-interface thread.
    class Waker final : public Casement::EventTarget {
    public:
        explicit Waker(Window& window) : window_(window) {}
        bool onCommand(std::uint32_t, void*) override
        {
            window_.startTicks();
            return true;
        }

    private:
        Window& window_;
    };

    // The platform window captures the pointer by itself while a button is held.
    void captureMouse() override {}
    void releaseMouse() override {}
    void wakeFrames() override;

    Pane& accessiblePane() override { return pane_; }
    std::string accessibleTitle() const override { return this->title(); }
    Casement::Rect screenArea() const override;
    double deviceScale() const override { return this->exactScale(); }
    bool isShownWindow() const override { return this->isShown(); }
    bool isActiveWindow() const override { return this->isShown() && pane_.hasKeyboardFocus(); }

    void startTicks();
    void endTicks();
    void restIfIdle();
    std::uintptr_t wakerKey() const { return reinterpret_cast<std::uintptr_t>(&waker_); }

    void onCreated();
    void onSizeChanged();
    void onTick();
    void onDensityChanged(float backingScale);
    void repaintAll();
    // Paints the region into the canvas and asks the platform window to
    // present each of its rectangles; nothing while the Pane has no area.
    void paintAndPresent(const std::vector<Casement::Rect>& region);

    Casement::EventTimerManager& timers_;
    Casement::EventTimerManager::tEntry* timer_ = nullptr;
    Waker waker_{*this};
    bool wakerRegistered_ = false;
    // Set while the timer rests; the wake that clears it starts the timer.
    std::atomic<bool> resting_{false};
    std::thread::id uiThread_;
    WindowingPane pane_{*this};
    BackgroundDrawingCanvas canvas_;
};

} // namespace Trellis
