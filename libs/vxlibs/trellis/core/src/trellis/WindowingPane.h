#pragma once

#include "trellis/Pane.h"

namespace Trellis {

// What a Pane asks of the window it is shown in.
class IPaneWindow {
public:
    virtual ~IPaneWindow() = default;
    // Keeps delivering the pointer's events while a button is held, wherever
    // the pointer goes, until releaseMouse().
    virtual void captureMouse() = 0;
    virtual void releaseMouse() = 0;
    // The Pane has work again after being idle (see Pane::frameWanted); any
    // thread. A window that runs frame cycles all the time needs nothing.
    virtual void wakeFrames() {}
};

// A Pane bound to a window: the window services go to it, and the window's
// own notifications that concern the Pane are handled here (capture lost:
// no hover and no press; keyboard focus lost and gained: keys reach the
// focus widget again only with the focus back, and it keeps its place, so
// that the keyboard goes on where it left off; drag and drop, codes 1300 to
// 1399: dispatchDrag()).
class WindowingPane : public Pane {
public:
    explicit WindowingPane(IPaneWindow& window) : window_(window) {}

    bool handleEvent(std::uint32_t code, const void* data) override;

protected:
    void captureMouse() override { window_.captureMouse(); }
    void releaseMouse() override { window_.releaseMouse(); }
    void frameWanted() override { window_.wakeFrames(); }

private:
    IPaneWindow& window_;
};

} // namespace Trellis
