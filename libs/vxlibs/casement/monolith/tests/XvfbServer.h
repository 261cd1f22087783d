#pragma once

#include <string>
#include <sys/types.h>

// A private X server (Xvfb) for tests and benchmarks that need a display.
// Xvfb picks a free display number itself and reports it once it accepts
// connections; the server is killed when this object goes.
class XvfbServer {
public:
    XvfbServer() = default;
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    // True when an Xvfb program is on the PATH.
    static bool installed();

    // Starts the server with one screen of the given size at 24 bits and
    // waits up to 10 s until it is ready. False when it did not come up.
    bool start(int width = 1024, int height = 768);

    // Leaves a $DISPLAY that is set alone; otherwise starts the server and
    // points $DISPLAY at it. False when there is no display to use.
    bool useOrStart();

    // ":N", empty before start() succeeded.
    const std::string& display() const { return display_; }

private:
    void stop();

    pid_t pid_ = -1;
    std::string display_;
};

// Reads one line from `fd` (without its line end), waiting up to 10 s for
// each byte; empty when no whole line came.
std::string readLineFrom(int fd);
