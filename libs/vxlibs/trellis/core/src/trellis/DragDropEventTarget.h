#pragma once

#include <casement/WindowEvents.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace Trellis {

// The receiving side of drag and drop, a base of every widget. The Pane
// sends each drag event of the window layer (Casement::DragEnter,
// DragMove, DragLeave, Drop) to the widget under the pointer, with the
// position made relative to the widget: first to dispatchDragEvent(), which
// answers whether the widget takes the drop, then to
// dispatchDragNotification(). A widget takes drops while it has a drop
// callback; drop listeners watch the drops that reach it, taken or not.
class DragDropEventTarget {
public:
    using tDropHandler = std::function<void(const Casement::tDropData& data)>;

    DragDropEventTarget() = default;
    virtual ~DragDropEventTarget() = default;
    DragDropEventTarget(const DragDropEventTarget&) = delete;
    DragDropEventTarget& operator=(const DragDropEventTarget&) = delete;

    virtual bool dispatchDragEvent(std::uint32_t code, const Casement::tDragEvent& event)
    {
        return onDragEvent(code, event);
    }
    virtual void dispatchDragNotification(std::uint32_t code, const Casement::tDragEvent& event)
    {
        onDragNotification(code, event);
    }

    // The callback that takes the widget's drops; an empty one takes none.
    void setDropCallback(tDropHandler callback) { dropCallback_ = std::move(callback); }
    // Called with every drop that reaches the widget, in the order added.
    void addDropListener(tDropHandler listener) { dropListeners_.push_back(std::move(listener)); }

protected:
    // DragEnter and DragMove: whether the widget would take a drop; Drop:
    // runs the drop callback, true when there was one.
    virtual bool onDragEvent(std::uint32_t code, const Casement::tDragEvent& event);
    // Drop: runs the drop listeners.
    virtual void onDragNotification(std::uint32_t code, const Casement::tDragEvent& event);

private:
    tDropHandler dropCallback_;
    std::vector<tDropHandler> dropListeners_;
};

} // namespace Trellis
