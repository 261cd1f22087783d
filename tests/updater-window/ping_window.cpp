// Pings a window as a window manager does, every 100 ms, until it is told to
// stop (SIGTERM or SIGINT) or the window is gone, then writes the number of
// pings and the slowest answer in milliseconds to OUTPUT ("24 pings, slowest
// 3 ms"). A ping not answered within 5 s, after which a window manager
// offers to kill the window, is written as "unanswered" and ends it.
//   ping_window WINDOW_ID OUTPUT
#include "WindowPing.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <thread>

namespace {

volatile std::sig_atomic_t stopped = 0;

void stop(int)
{
    stopped = 1;
}

} // namespace

int main(int argc, char** argv)
{
    using namespace std::chrono_literals;
    if (argc != 3) {
        std::fprintf(stderr, "usage: ping_window WINDOW_ID OUTPUT\n");
        return 2;
    }
    WindowPinger pinger;
    if (!pinger.connect()) {
        std::fprintf(stderr, "ping_window: cannot open the display\n");
        return 1;
    }
    std::signal(SIGTERM, stop);
    std::signal(SIGINT, stop);
    int pings = 0;
    std::chrono::microseconds slowest{0};
    bool unanswered = false;
    while (stopped == 0) {
        const auto answer = pinger.ping(argv[1], 5000ms);
        if (!answer) {
            unanswered = stopped == 0 && !pinger.windowGone();
            break;
        }
        ++pings;
        slowest = std::max(slowest, *answer);
        std::this_thread::sleep_for(100ms);
    }
    std::ofstream output(argv[2]);
    if (unanswered) {
        output << "unanswered after " << pings << " pings\n";
        return 1;
    }
    output << pings << " pings, slowest " << (slowest.count() + 999) / 1000 << " ms\n";
    return 0;
}
