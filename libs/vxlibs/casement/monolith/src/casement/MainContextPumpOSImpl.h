#pragma once

#include "casement/DescriptorWatcher.h"
#include "casement/MainContextPump.h"

#include <glib.h>

#include <memory>
#include <vector>

namespace Casement {

// The GLib half of MainContextPump: owns the default main context for the
// user-interface thread and turns its cycle by hand (prepare, query, a poll
// that does not wait, check, dispatch), leaving the waiting to the message
// loop and the watcher. A round that found a descriptor ready but nothing to
// dispatch is followed by another: GLib's check takes its own wake-up and
// reports nothing when the set of descriptors changed after the query, and
// only a fresh query sees the new set.
class MainContextPump::OSImpl {
public:
    static constexpr int MaxRounds = 4;

    // The pump of the calling thread; null when another thread owns the
    // default main context or the watcher cannot start.
    static std::unique_ptr<OSImpl> start();

    void serve();
    // Ends the serving at once, that of a serve() under way included; the
    // context is released when the pump is destroyed.
    void retire() { retired_ = true; }

private:
    struct tRelease {
        void operator()(GMainContext* context) const { g_main_context_release(context); }
    };
    using tOwnedContext = std::unique_ptr<GMainContext, tRelease>;
    using tClock = DETAIL::DescriptorWatcher::tClock;

    explicit OSImpl(tOwnedContext context);
    bool cycle();
    gint query(gint priority, gint& timeout);
    void arm(gint count, gint timeout);

    // Declared before the watcher: the watcher's thread ends before the
    // context is released.
    tOwnedContext context_;
    std::vector<GPollFD> descriptors_;
    bool retired_ = false;
    DETAIL::DescriptorWatcher watcher_;
};

} // namespace Casement
