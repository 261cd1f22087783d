#pragma once

#include <casement/WindowEvents.h>

#include <cstdint>
#include <functional>

namespace Trellis {

// The giving side of drag and drop, a base of every widget: an optional
// callback that starts a drag of some files or texts from the widget and
// answers the drop effect the drag ended with (0: none), and the effect the
// drop target chose, as the platform reports it while the drag runs.
class DragDropSource {
public:
    using tDragSource = std::function<std::uint32_t(const Casement::tDropData& data)>;

    DragDropSource() = default;
    virtual ~DragDropSource() = default;
    DragDropSource(const DragDropSource&) = delete;
    DragDropSource& operator=(const DragDropSource&) = delete;

    // Runs the drag-source callback; 0 without one.
    virtual std::uint32_t startDrag(const Casement::tDropData& data) { return dragSource_ ? dragSource_(data) : 0; }
    virtual void setDropEffect(std::uint32_t effect) { dropEffect_ = effect; }

    void setDragSource(tDragSource source) { dragSource_ = std::move(source); }
    std::uint32_t dropEffect() const { return dropEffect_; }

private:
    tDragSource dragSource_;
    std::uint32_t dropEffect_ = 0;
};

} // namespace Trellis
