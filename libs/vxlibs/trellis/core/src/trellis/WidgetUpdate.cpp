// The widget's side of the frame cycle: update and repaint requests, ticks,
// the update pass and the collection of the repaint region.
#include "trellis/Pane.h"
#include "trellis/Widget.h"

#include <algorithm>
#include <utility>

namespace Trellis {

void Widget::invalidate()
{
    needsUpdate_.store(1, std::memory_order_relaxed);
    dirtyBits_.fetch_or(RepaintBit, std::memory_order_relaxed);
    if (pane_) {
        pane_->raiseDirty(Pane::RelayoutAndRepaint);
    }
}

void Widget::repaint()
{
    dirtyBits_.fetch_or(RepaintBit, std::memory_order_relaxed);
    if (Pane* pane = pane_) {
        pane->raiseDirty(Pane::RepaintOnly);
    }
}

void Widget::scheduleTick(std::int32_t periods)
{
    if (pane_) {
        pane_->setTicks(*this, periods);
    } else {
        pendingTicks_ = std::max(periods, 0);
    }
}

const std::vector<Widget*>& Widget::zOrder()
{
    if (zOrder_.size() != children_.size()) {
        zOrder_.clear();
        for (const auto& child : children_) {
            zOrder_.push_back(child.get());
        }
        std::stable_sort(zOrder_.begin(), zOrder_.end(),
                         [](const Widget* a, const Widget* b) { return a->zIndex_ < b->zIndex_; });
    }
    return zOrder_;
}

void Widget::update(const Casement::Rect& parentContentClip, bool parentRelayout, std::vector<Casement::Rect>& region)
{
    if (!hasFlags(OwnVisible)) {
        if (hasFlags(Attached)) {
            detachForUpdate();
        }
        return;
    }
    if (!hasFlags(Attached)) {
        attachForUpdate();
    }
    setFlag(EffectivelyVisible, !parent_ || parent_->hasFlags(EffectivelyVisible));
    setFlag(EffectivelyEnabled, !parent_ || parent_->isEnabled());
    if (isStyleOutOfDate()) {
        applyStyle();
    }
    const bool updateNeeded = needsUpdate_.exchange(0, std::memory_order_relaxed) != 0;
    if (updateNeeded || parentRelayout) {
        placeForUpdate(parentContentClip, region);
        setFlag(RelayoutPending, true);
    }
    if (pendingTicks_ > 0 && pane_) {
        pane_->setTicks(*this, std::exchange(pendingTicks_, 0));
    }
    if (updateNeeded) {
        layout();
    }
    const Casement::Rect contentClip = Casement::intersect(clip_, contentRect());
    // By index: a widget's hooks may add children while the pass runs.
    for (std::size_t i = 0; i < children_.size(); ++i) {
        const auto child = children_[i];
        child->update(contentClip, hasFlags(RelayoutPending), dirtyRegion_);
    }
    afterLayout();
    setFlag(RelayoutPending, false);
}

void Widget::attachForUpdate()
{
    setFlag(Attached, true);
    realizeChanged(true);
    attachChanged(true);
}

// The widget and its subtree leave the screen: nothing may keep pointing at
// them as the hover, pressed or focus widget, but their ticks wait for them.
void Widget::detachForUpdate()
{
    setFlag(Attached, false);
    setFlag(EffectivelyVisible, false);
    if (pane_) {
        pane_->dropInteraction(*this);
    }
    realizeChanged(false);
    attachChanged(false);
    for (const auto& child : children_) {
        if (child->hasFlags(Attached)) {
            child->detachForUpdate();
        }
    }
}

void Widget::placeForUpdate(const Casement::Rect& parentContentClip, std::vector<Casement::Rect>& region)
{
    absolute_ = position_;
    if (parent_) {
        absolute_.x += parent_->absolute_.x + parent_->margins_.left;
        absolute_.y += parent_->absolute_.y + parent_->margins_.top;
    }
    const Casement::Rect clip = Casement::intersect(rect(), parentContentClip);
    if (clip == clip_) {
        return;
    }
    for (const Casement::Rect& place : {clip_, clip}) {
        if (!place.empty()) {
            region.push_back(place);
        }
    }
    clip_ = clip;
}

void Widget::collectRepaintRegion(std::vector<Casement::Rect>& region, bool covered)
{
    const bool dirty = (dirtyBits_.exchange(0, std::memory_order_relaxed) & RepaintBit) != 0;
    if (!covered) {
        if (dirty) {
            if (!clip_.empty()) {
                region.push_back(clip_);
            }
            covered = true;
        } else {
            region.insert(region.end(), dirtyRegion_.begin(), dirtyRegion_.end());
        }
    }
    dirtyRegion_.clear();
    for (const auto& child : children_) {
        child->collectRepaintRegion(region, covered);
    }
}

} // namespace Trellis
