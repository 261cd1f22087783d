#include "casement/EventTimerManager.h"

#include "casement/EventTimerManagerSdlBridge.h"
#include "casement/ShellEvents.h"

#include "basalt/Clock.h"

#include <chrono>

namespace Casement {

EventTimerManager::EventTimerManager()
    : EventTimerManager([](EventTimerManager& manager) {
          return std::make_unique<EventTimerManagerSdlBridge>(manager);
      })
{
}

EventTimerManager::EventTimerManager(const tBridgeFactory& makeBridge)
    : bridge_(makeBridge(*this))
{
}

EventTimerManager::~EventTimerManager()
{
    bridge_->stop();
    while (first_ != nullptr) {
        tEntry* next = first_->next;
        delete first_;
        first_ = next;
    }
}

int EventTimerManager::roundInterval(int requested)
{
    const int p = Period;
    if (requested <= p) {
        return p;
    }
    const int c = p * (requested / p);
    return c + p / 2 < requested ? c + p : c;
}

EventTimerManager::tEntry* EventTimerManager::addTimer(EventHandler* target, int interval,
                                                       int priority)
{
    auto* entry = new tEntry;
    entry->interval = roundInterval(interval);
    entry->remaining = entry->interval;
    entry->priority = priority;
    entry->target = target;
    const bool wasEmpty = first_ == nullptr;
    insert(entry);
    if (wasEmpty) {
        bridge_->start(period_);
    }
    return entry;
}

void EventTimerManager::insert(tEntry* entry)
{
    tEntry* before = first_;
    while (before != nullptr && before->priority >= entry->priority) {
        before = before->next;
    }
    entry->next = before;
    entry->previous = before != nullptr ? before->previous : last_;
    (entry->previous != nullptr ? entry->previous->next : first_) = entry;
    (before != nullptr ? before->previous : last_) = entry;
}

void EventTimerManager::removeTimer(tEntry* entry)
{
    if (entry == nullptr) {
        return;
    }
    if (entry->inDispatch > 0) {
        entry->removeLater = true;
        return;
    }
    unlinkAndFree(entry);
}

void EventTimerManager::unlinkAndFree(tEntry* entry)
{
    (entry->previous != nullptr ? entry->previous->next : first_) = entry->next;
    (entry->next != nullptr ? entry->next->previous : last_) = entry->previous;
    delete entry;
    if (first_ == nullptr) {
        bridge_->stop();
    }
}

void EventTimerManager::tick()
{
    lastTick_ = now();
    tEntry* entry = first_;
    while (entry != nullptr) {
        tickEntry(*entry, period_);
        // Read after the tick: the target may have added or removed other entries.
        tEntry* next = entry->next;
        if (entry->removeLater && entry->inDispatch == 0) {
            unlinkAndFree(entry);
        }
        entry = next;
    }
}

void EventTimerManager::tickIfStarved()
{
    if (now() - lastTick_ > 2 * std::int64_t{period_} * 10'000) {
        tick();
    }
}

void EventTimerManager::tickEntry(tEntry& entry, int elapsed)
{
    ++entry.inDispatch;
    entry.remaining -= elapsed;
    if (entry.remaining <= 0) {
        if (-2 * entry.remaining > elapsed) {
            // Far past its moment: skip this tick and keep the phase.
            entry.remaining += entry.interval;
            if (entry.remaining == 0) {
                entry.remaining = entry.interval;
            }
        } else {
            entry.remaining = entry.interval;
            tTickEvent event{&entry, entry.interval};
            entry.target->handleEvent(TickEvent, &event, false);
        }
    }
    --entry.inDispatch;
}

std::int64_t EventTimerManager::now()
{
    using Hundreds = std::chrono::duration<std::int64_t, std::ratio<1, 10'000'000>>;
    return std::chrono::duration_cast<Hundreds>(Basalt::clock().now().time_since_epoch()).count();
}

} // namespace Casement
