#pragma once

#include <SDL.h>

namespace Casement::DETAIL {

// The framework's own SDL user events, registered with SDL once per process.
// Each carries its values in the `code`, `data1` and `data2` fields of the
// user event.
class FrameworkEvents {
public:
    enum eKind : Uint32 {
        Quit,            // code: exit code of the message loop
        Command,         // code: sequence number of a posted command
        AsyncPost,       // code: command id, data1: target key
        Timer,           // code: timer id of an event timer bridge
        InstanceMessage, // a message of another copy of the program is waiting
        DeviceChange,    // device-change notifications are waiting
        MainContextReady, // GLib's main context has something due (see MainContextPump)
        KindCount
    };

    static Uint32 type(eKind kind);
    // The kind of an SDL event type; KindCount for events that are not the framework's.
    static eKind kindOf(Uint32 type);
    // The private range: events the framework posts to itself for delivery
    // (commands, cross-thread posts, hand-overs), as opposed to the loop's
    // quit request and the timer.
    static bool isPrivate(Uint32 type);
    // Pushes an event; callable from any thread. False when the queue refused it.
    static bool push(eKind kind, Sint32 code, void* data1 = nullptr);
};

} // namespace Casement::DETAIL
