#include "trellis/Pane.h"

#include "trellis/ManagerContainer.h"
#include "trellis/StyleManager.h"
#include "trellis/Widget.h"

#include <algorithm>

namespace Trellis {
namespace {

constexpr std::uint32_t RelayoutBit = Pane::RelayoutAndRepaint & ~Pane::RepaintOnly;

bool contains(const Casement::Rect& outer, const Casement::Rect& inner)
{
    return inner.x >= outer.x && inner.y >= outer.y && inner.right() <= outer.right() &&
           inner.bottom() <= outer.bottom();
}

// Drops every rectangle that another one covers (the first of equal ones stays).
void dropCovered(std::vector<Casement::Rect>& region)
{
    std::vector<Casement::Rect> kept;
    for (std::size_t i = 0; i < region.size(); ++i) {
        bool covered = false;
        for (std::size_t j = 0; j < region.size() && !covered; ++j) {
            covered = j != i && contains(region[j], region[i]) && (region[j] != region[i] || j < i);
        }
        if (!covered) {
            kept.push_back(region[i]);
        }
    }
    region.swap(kept);
}

} // namespace

Pane::Pane() = default;

// The trees may outlive the Pane through other handles; they must not keep
// pointing here.
Pane::~Pane()
{
    if (root_) {
        root_->attachToPane(nullptr);
    }
    for (const auto& layer : layers_) {
        layer->attachToPane(nullptr);
    }
}

void Pane::setRoot(std::shared_ptr<Widget> root)
{
    if (root_) {
        places_.push_back(root_->clipRect());
        root_->attachToPane(nullptr);
    }
    root_ = std::move(root);
    if (root_) {
        root_->attachToPane(this);
        placeRoot();
        root_->invalidate();
    }
}

void Pane::addLayer(std::shared_ptr<Widget> layer)
{
    if (layer && std::find(layers_.begin(), layers_.end(), layer) == layers_.end()) {
        layer->attachToPane(this);
        layer->invalidate();
        layers_.push_back(std::move(layer));
    }
}

void Pane::removeLayer(Widget& layer)
{
    const auto found = std::find_if(layers_.begin(), layers_.end(),
                                    [&layer](const std::shared_ptr<Widget>& each) { return each.get() == &layer; });
    if (found != layers_.end()) {
        places_.push_back(layer.clipRect());
        const auto keepAlive = *found;
        layers_.erase(found);
        layer.attachToPane(nullptr);
        raiseDirty(RepaintOnly);
    }
}

// Nothing takes the announcements of a Pane that no screen reader is shown;
// they must not pile up.
void Pane::announce(const Widget& widget, std::string_view text)
{
    constexpr std::size_t Kept = 4;
    if (announcements_.size() >= Kept) {
        announcements_.erase(announcements_.begin());
    }
    announcements_.emplace_back(widget.weak_from_this(), std::string(text));
    raiseDirty(RepaintOnly);
}

std::vector<std::pair<std::weak_ptr<const Widget>, std::string>> Pane::takeAnnouncements()
{
    return std::exchange(announcements_, {});
}

void Pane::setSize(std::int32_t width, std::int32_t height)
{
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    placeRoot();
    raiseDirty(RelayoutAndRepaint);
}

void Pane::placeRoot()
{
    if (root_) {
        root_->setPosition(0, 0);
        root_->setSize(width_, height_);
    }
}

std::vector<Casement::Rect> Pane::runFrameCycle()
{
    std::uint32_t word = dirty_.exchange(0, std::memory_order_relaxed);
    bool repaint = (word & RepaintOnly) != 0;
    for (int pass = 0; (word & RelayoutBit) != 0 && pass < MaxUpdatePasses; ++pass) {
        updateTrees();
        word = dirty_.exchange(0, std::memory_order_relaxed);
        repaint = repaint || (word & RepaintOnly) != 0;
    }
    std::vector<Casement::Rect> region;
    if (!repaint) {
        return region;
    }
    region.swap(places_);
    for (auto layer = layers_.rbegin(); layer != layers_.rend(); ++layer) {
        (*layer)->collectRepaintRegion(region, false);
    }
    if (root_) {
        root_->collectRepaintRegion(region, false);
    }
    dropCovered(region);
    return region;
}

void Pane::updateTrees()
{
    if (root_) {
        placeRoot();
        root_->update(bounds(), false, places_);
    }
    for (std::size_t i = 0; i < layers_.size(); ++i) {
        const auto layer = layers_[i];
        layer->update(bounds(), false, places_);
    }
}

void Pane::setTicks(Widget& widget, std::int32_t periods)
{
    if (periods > 0) {
        ticks_[&widget] = periods;
        frameWanted();
    } else {
        ticks_.erase(&widget);
    }
}

std::int32_t Pane::ticksLeft(const Widget& widget) const
{
    const auto found = ticks_.find(const_cast<Widget*>(&widget));
    return found != ticks_.end() ? found->second : 0;
}

// The widgets are taken before the first call: a tick scheduled by an onTick()
// counts from the next period, and a widget destroyed by one is skipped.
void Pane::tick()
{
    std::vector<Widget*> due;
    for (const auto& [widget, periods] : ticks_) {
        due.push_back(widget);
    }
    for (Widget* widget : due) {
        const auto entry = ticks_.find(widget);
        if (entry == ticks_.end() || !widget->isShown()) {
            continue;
        }
        if (--entry->second == 0) {
            ticks_.erase(entry);
            widget->onTick();
        }
    }
}

// The tree's matches in the manager that styled it so far would be stale
// should that manager style the tree again.
void Pane::setStyleManager(std::unique_ptr<StyleManager> manager)
{
    if (auto* container = ManagerContainer::instance(); container && root_) {
        if (auto* previous = container->styleManagerFor(*root_)) {
            previous->forgetWidget(*root_);
        }
    }
    styleManager_ = std::move(manager);
}

void Pane::forgetWidget(const Widget& widget)
{
    dropInteraction(widget);
    ticks_.erase(const_cast<Widget*>(&widget));
}

void Pane::dropInteraction(const Widget& widget)
{
    for (Widget** pointer : {&hover_, &pressed_, &focus_, &previousFocus_, &input_, &focusScope_}) {
        if (*pointer == &widget) {
            *pointer = nullptr;
        }
    }
}

} // namespace Trellis
