#pragma once

namespace Casement {

// Serves GLib's default main context from the framework's message loop, for
// libraries that do their work there (the accessibility bridge talks D-Bus on
// it). The context belongs to the user-interface thread while the pump runs,
// and its sources are dispatched there only, by serve(), which the loop calls
// before each wait. SDL's wait cannot watch GLib's descriptors, so after each
// GLib cycle a watcher thread waits on the descriptors and the time-out the
// context asked for (GLib's wake-up descriptor among them, so that
// g_main_context_wakeup and sources attached from other threads count) and
// pushes one MainContextReady event when one is due; an idle context wakes
// nobody. Start it once the framework has started; all calls on the
// user-interface thread.
class MainContextPump {
public:
    class OSImpl;

    // Acquires the default main context for the calling thread and starts the
    // watcher; true when running. False when another thread owns the context
    // or the watcher cannot start.
    static bool start();
    // Joins the watcher and releases the context; nothing when not running.
    // Called from a source being dispatched, it ends the serving at once and
    // releases when serve() returns. The framework's shut-down calls it.
    static void stop();
    static bool isRunning();

    // Dispatches what is due (a few rounds at most, so that a busy source
    // cannot keep SDL's events waiting) and arms the watcher for the rest.
    // Only a test of a pointer while the pump is not running.
    static void serve();
};

} // namespace Casement
