#include "WindowPing.h"

#include <X11/Xlib.h>

#include <cstdlib>

#include <poll.h>

struct WindowPinger::tConnection {
    Display* display = nullptr;
    Atom protocols = 0;
    Atom ping = 0;
    long stamp = 0;
    bool windowMissing = false;
};

namespace {

// A ping of a window that has gone answers with BadWindow: noted, not fatal.
WindowPinger::tConnection* current = nullptr;

int noteError(Display*, XErrorEvent* error)
{
    if (current != nullptr && error->error_code == BadWindow) {
        current->windowMissing = true;
    }
    return 0;
}

bool isAnswer(const XEvent& event, const WindowPinger::tConnection& connection, Window window)
{
    return event.type == ClientMessage && event.xclient.message_type == connection.protocols
           && static_cast<Atom>(event.xclient.data.l[0]) == connection.ping
           && event.xclient.data.l[1] == connection.stamp && static_cast<Window>(event.xclient.data.l[2]) == window;
}

} // namespace

WindowPinger::WindowPinger() = default;

WindowPinger::~WindowPinger()
{
    if (connection_ != nullptr) {
        XCloseDisplay(connection_->display);
        delete connection_;
    }
}

// The answer is sent to the root window for its substructure listeners: the
// window manager, or this connection.
bool WindowPinger::connect()
{
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return false;
    }
    connection_ = new tConnection{display, XInternAtom(display, "WM_PROTOCOLS", False),
                                  XInternAtom(display, "_NET_WM_PING", False)};
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSetErrorHandler(noteError);
    XSync(display, False);
    return true;
}

bool WindowPinger::windowGone() const
{
    return connection_ != nullptr && connection_->windowMissing;
}

std::optional<std::chrono::microseconds> WindowPinger::ping(const std::string& window, std::chrono::milliseconds limit)
{
    using Clock = std::chrono::steady_clock;
    if (connection_ == nullptr) {
        return std::nullopt;
    }
    Display* display = connection_->display;
    const auto target = static_cast<Window>(std::strtoul(window.c_str(), nullptr, 0));
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = target;
    event.xclient.message_type = connection_->protocols;
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(connection_->ping);
    event.xclient.data.l[1] = ++connection_->stamp;
    event.xclient.data.l[2] = static_cast<long>(target);
    current = connection_;
    connection_->windowMissing = false;
    const auto sent = Clock::now();
    XSendEvent(display, target, False, NoEventMask, &event);
    XSync(display, False);
    const auto end = sent + limit;
    while (!connection_->windowMissing) {
        while (XPending(display) > 0) {
            XNextEvent(display, &event);
            if (isAnswer(event, *connection_, target)) {
                return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - sent);
            }
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
        if (left <= 0) {
            break;
        }
        pollfd wait{ConnectionNumber(display), POLLIN, 0};
        poll(&wait, 1, static_cast<int>(left));
    }
    return std::nullopt;
}
