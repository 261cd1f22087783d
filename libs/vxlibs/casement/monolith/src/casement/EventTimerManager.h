#pragma once

#include "casement/AbstractEventTimerManagerOsBridge.h"
#include "casement/EventHandler.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace Casement {

// Gives registered targets (top-level windows) periodic tick events on the
// user-interface thread. The base period is 40 ms; each entry ticks at a whole
// multiple of it. Entries are kept in priority order, highest first. The
// platform timer runs only while at least one entry exists. Not thread-safe:
// used on the user-interface thread only.
class EventTimerManager {
public:
    static constexpr int Period = 40;

    struct tEntry {
        tEntry* previous = nullptr;
        tEntry* next = nullptr;
        int interval = 0;
        int remaining = 0;
        int priority = 0;
        EventHandler* target = nullptr;
        int inDispatch = 0;
        bool removeLater = false;
    };

    // The payload of the TickEvent a target receives.
    struct tTickEvent {
        tEntry* entry = nullptr;
        int interval = 0;
    };

    using tBridgeFactory =
        std::function<std::unique_ptr<AbstractEventTimerManagerOsBridge>(EventTimerManager&)>;

    // A manager with the SDL platform timer.
    EventTimerManager();
    // A manager with the platform timer that `makeBridge` creates.
    explicit EventTimerManager(const tBridgeFactory& makeBridge);
    ~EventTimerManager();
    EventTimerManager(const EventTimerManager&) = delete;
    EventTimerManager& operator=(const EventTimerManager&) = delete;

    // Registers `target` for tick events every `interval` ms (rounded to the
    // period); equal priorities keep the order of registration.
    tEntry* addTimer(EventHandler* target, int interval, int priority);
    // Unregisters; an entry being dispatched goes once its dispatch has ended.
    void removeTimer(tEntry* entry);

    // One tick: every entry in list order, with the period as elapsed time.
    void tick();
    // Ticks now when more than two periods have passed since the last tick.
    void tickIfStarved();
    // One entry's share of a tick, `elapsed` ms after its previous one.
    void tickEntry(tEntry& entry, int elapsed);

    // The interval an entry gets for a requested one: a multiple of the
    // period, rounded to the nearest (60 -> 40, 61 -> 80).
    static int roundInterval(int requested);

    // Time of the last tick in 100 ns units of the monotonic clock.
    std::int64_t lastTick() const { return lastTick_; }
    const tEntry* first() const { return first_; }

private:
    void insert(tEntry* entry);
    void unlinkAndFree(tEntry* entry);
    static std::int64_t now();

    std::unique_ptr<AbstractEventTimerManagerOsBridge> bridge_;
    int period_ = Period;
    std::int64_t lastTick_ = 0;
    tEntry* first_ = nullptr;
    tEntry* last_ = nullptr;
};

} // namespace Casement
