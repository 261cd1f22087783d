#pragma once

#include <cstdint>
#include <string>

namespace Casement {

class EventTarget;

// The receiver of commands that other threads post: a registry of event
// targets by key, guarded by a mutex. A post from any thread queues an event
// carrying the command id and the key; on the user-interface thread the
// message loop hands it, as CommandEvent, to the onCommand of the target
// registered under that key at that moment (nothing when there is none).
class AsyncEventTarget {
public:
    static constexpr const char* WindowName = "AsyncEventTargetWindow";

    // "VXAsyncEventTargetWndClass<address of the framework's state>".
    static std::string className();

    // Opened by the framework's initialisation, closed by its shut-down;
    // closing forgets every target.
    static void open();
    static void close();
    static bool isOpen();

    static void add(std::uintptr_t key, EventTarget* target);
    static void remove(std::uintptr_t key);

    // Any thread. False when the receiver is closed or the queue refused the post.
    static bool post(std::uint32_t commandId, std::uintptr_t key);
    // On the user-interface thread: hands a post to its target.
    static void deliver(std::uint32_t commandId, std::uintptr_t key);
};

} // namespace Casement
