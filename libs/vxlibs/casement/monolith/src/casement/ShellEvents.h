#pragma once

#include <cstdint>

namespace Casement {

// Events of the application shell. Window events (1000 and up, 1000000 and up)
// are listed with the window layer.
enum eShellEvent : std::uint32_t {
    // From the event timer manager to a timer target; payload
    // EventTimerManager::tTickEvent.
    TickEvent = 2,
    // A command posted to a window or an application; payload points to the
    // 32-bit command id.
    CommandEvent = 1200,
    // Asks the application whether quitting is allowed; payload points to a
    // bool, true on entry, that the handler clears to refuse.
    QueryQuit = 10002,
    // A second copy of the program handed over its first argument; payload
    // points to the std::filesystem::path of an existing item.
    InstanceArgumentMessage = 10003,
};

// Requests the shell sends to the main window's handler. No payload.
enum eWindowRequest : std::uint32_t {
    // Close the window: destroy its native window as after an allowed close
    // request, without asking the application again.
    CloseWindowRequest = 1000100,
    // Bring the window to the front: restore it when it is minimised or hidden,
    // raise it and give it the input focus.
    RaiseWindowRequest = 1000101,
};

// Command ids carried by CommandEvent.
enum eCommand : std::uint32_t {
    QuitCommand = 30002,
    ShowAboutCommand = 30003,
    // A signal from outside arrived (see InterruptRelay).
    InterruptCommand = 30004,
    KnowledgeBaseCommand = 40000,
    HomePageCommand = 40001,
};

} // namespace Casement
