#pragma once

#include <chrono>
#include <optional>
#include <string>

// Pings a top-level window as a window manager does (the _NET_WM_PING
// message of WM_PROTOCOLS) and times its answer, which the window's event
// loop sends to the root window once it takes the message. A window manager
// offers to kill a window that does not answer within a few seconds. Has its
// own connection to the X server; kept apart because the X11 headers define
// macros that clash with C++ code.
class WindowPinger {
public:
    WindowPinger();
    ~WindowPinger();
    WindowPinger(const WindowPinger&) = delete;
    WindowPinger& operator=(const WindowPinger&) = delete;

    // Connects to the X server of $DISPLAY; false when that fails.
    bool connect();
    // One ping of the window with this X id ("0x..." or decimal). The time
    // until its answer, or nothing when none came within `limit` or the
    // window does not exist.
    std::optional<std::chrono::microseconds> ping(const std::string& window, std::chrono::milliseconds limit);
    // The last ping found no such window.
    bool windowGone() const;

    struct tConnection;

private:
    tConnection* connection_ = nullptr;
};
