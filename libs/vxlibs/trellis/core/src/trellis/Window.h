#pragma once

#include "trellis/BackgroundDrawingCanvas.h"
#include "trellis/WindowingPane.h"

#include <casement/EventTimerManager.h>

#include <cstdint>

namespace Trellis {

// A platform window joined to one widget tree: it owns the WindowingPane
// that holds the tree and the canvas the tree is painted into, and turns the
// window's events into the frame cycle. Every 40 ms timer period ticks the
// Pane and runs a frame cycle; what the cycle finds to repaint is painted
// into the canvas and only those rectangles are presented. Input goes to the
// Pane. Used on the user-interface thread.
template <class PlatformWindow>
class Window : public PlatformWindow, private IPaneWindow {
public:
    // Ticks come from `timers` while the platform window exists.
    explicit Window(Casement::EventTimerManager& timers);
    ~Window() override;

    WindowingPane& pane() { return pane_; }
    const BackgroundDrawingCanvas& canvas() const { return canvas_; }

    bool handleEvent(std::uint32_t code, void* payload, bool flag) override;

private:
    // The platform window captures the pointer by itself while a button is held.
    void captureMouse() override {}
    void releaseMouse() override {}

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
    WindowingPane pane_{*this};
    BackgroundDrawingCanvas canvas_;
};

} // namespace Trellis
