// The cost of an idle toolkit window: a Trellis window of 628 x 336 holding the
// tree of UpdaterWindowTree.h (about 40 widgets, the updater's pictures),
// shown and left alone under the real message loop for 10 s (or the seconds
// given as the first argument) after one second of warm-up (the first
// frames). Once the tree is idle the window's timer rests, so nothing should
// wake the loop. Prints the process's CPU time over the measured span (user
// and system, from getrusage) as a share of the wall time, the ticks and the
// areas presented in the span (0 and 0: an idle window neither ticks nor
// paints). Target: idle CPU at most 0.3 %. It needs a display: run it under
// `xvfb-run -a`.
//
//   bench_idle_window [S]
#include "UpdaterWindowTree.h"

#include <trellis/ManagerContainer.h>
#include <trellis/StyleManager.h>
#include <trellis/Warnings.h>
#include <trellis/Window.h>

#include <basalt/ResourceModule.h>
#include <casement/EventTimerManager.h>
#include <casement/MessageLoop.h>
#include <casement/ShellEvents.h>
#include <casement/StandaloneWindow.h>
#include <casement/WindowEvents.h>
#include <casement/init_casement.h>

#include <SDL.h>

#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

double cpuSeconds()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The toolkit window, watched: counts its ticks and the areas it presents.
class IdleWindow final : public Trellis::Window<Casement::StandaloneWindow> {
public:
    using Window::Window;

    bool handleEvent(std::uint32_t code, void* payload, bool flag) override
    {
        ticks += code == Casement::TickEvent ? 1 : 0;
        presented += code == Casement::Repaint ? 1 : 0;
        return Window::handleEvent(code, payload, flag);
    }

    std::atomic<int> ticks{0};
    std::atomic<int> presented{0};
};

struct tSpan {
    double cpu = 0;
    double wall = 0;
    int ticks = 0;
    int presented = 0;
};

// From another thread, as the loop may sleep throughout: one second of
// warm-up, then the span measured; then the loop is told to end.
std::thread measureSpan(const IdleWindow& window, std::chrono::seconds span, tSpan& result)
{
    return std::thread([&window, span, &result] {
        std::this_thread::sleep_for(std::chrono::seconds(1));
        const double cpu = cpuSeconds();
        const auto start = Clock::now();
        const int ticks = window.ticks;
        const int presented = window.presented;
        std::this_thread::sleep_for(span);
        result = {cpuSeconds() - cpu, std::chrono::duration<double>(Clock::now() - start).count(),
                  window.ticks - ticks, window.presented - presented};
        Casement::MessageLoop::postQuit(0);
    });
}

// Runs the window until the span has passed and prints the figures.
int measure(int seconds, int& warnings)
{
    Trellis::ManagerContainer resources(Basalt::ResourceModule::program());
    if (!resources.styleSets().front().manager->loadStyleSheetText(UpdaterWindowTree::StyleSheet)) {
        std::fprintf(stderr, "the window's stylesheet did not load\n");
        return 1;
    }
    Casement::EventTimerManager timers;
    IdleWindow window(timers);
    const UpdaterWindowTree::tTree tree = UpdaterWindowTree::build(window.pane());
    if (!window.create(UpdaterWindowTree::Width, UpdaterWindowTree::Height, "bench_idle_window")) {
        std::fprintf(stderr, "the window could not be created: %s\n", SDL_GetError());
        return 1;
    }
    window.show();
    tSpan span;
    std::thread measuring = measureSpan(window, std::chrono::seconds(seconds), span);
    const bool quitFlag = false;
    Casement::MessageLoop::run(timers, quitFlag);
    measuring.join();

    std::printf("video driver: %s, window %dx%d at scale %.2f, %d widgets\n",
                SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "none", window.clientWidth(),
                window.clientHeight(), window.exactScale(), UpdaterWindowTree::countWidgets(*tree.root));
    std::printf("idle window over %.2f s: CPU %.3f s = %.3f %% (target <= 0.3 %%)\n", span.wall, span.cpu,
                100.0 * span.cpu / span.wall);
    std::printf("ticks in that time: %d (target 0); areas presented: %d (target 0)\n", span.ticks,
                span.presented);
    const int problems = UpdaterWindowTree::checkLayout(*tree.root);
    if (problems > 0 || warnings > 0) {
        std::fprintf(stderr, "warning: %d layout problems, %d toolkit warnings\n", problems, warnings);
    }
    window.destroy();
    window.pane().setRoot(nullptr);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    if (!Casement::initCasement(0x04010000, 0x000F0001)) {
        std::fprintf(stderr, "Casement could not be initialised (is there a display?)\n");
        return 1;
    }
    int warnings = 0;
    Trellis::addWarningListener([&warnings](const std::string& text) {
        std::fprintf(stderr, "toolkit warning: %s\n", text.c_str());
        ++warnings;
    });
    const int result = measure(seconds, warnings);
    Casement::shutdownCasement();
    return result;
}
