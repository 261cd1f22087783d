#pragma once

#include <string_view>

namespace Casement {

// The rule that one copy of a program runs per user. The first copy listens
// on a per-user socket named after the instance name (its marker); a later
// copy finds it there, hands over its first argument when that names an
// existing item, asks the first copy to come to the front, and does not start.
class SingleInstance {
public:
    // True when another copy runs and this one must not start. Without a
    // current application, or when no marker can be made, the result is false.
    // With fewer than two command-line arguments a second copy starts only
    // when `flag` is 1.
    static bool check(std::string_view name, int flag);

    // On the user-interface thread: hands each received path that names an
    // existing item to the current application's dispatchEvent as
    // InstanceArgumentMessage, then sends RaiseWindowRequest to its main window.
    static void deliverPending();

    // Ends the marker (removes the socket); called by the framework's shut-down.
    static void close();
    // True while this copy is the marker.
    static bool isMarking();
};

inline bool checkOtherInstance(std::string_view name, int flag)
{
    return SingleInstance::check(name, flag);
}

} // namespace Casement
