// The cost of an idle toolkit window: a Trellis window of 628 x 336 holding the
// tree of UpdaterWindowTree.h (about 40 widgets, the updater's pictures),
// shown and left alone under the real message loop for 10 s (or the seconds
// given as the first argument) after one second of warm-up (the first
// frames). Every 40 ms tick runs the Pane's tick and frame cycle, which have
// nothing to do. Prints the process's CPU time over the measured
// span (user and system, from getrusage) as a share of the wall time, the
// ticks, and the frame cycles that presented anything in the span (0: an
// idle tree paints nothing). Target: idle CPU at most 0.3 %. It needs a
// display: run it under `xvfb-run -a`.
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
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double cpuSeconds()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

constexpr std::size_t WarmUpTicks = 25;

// The toolkit window, watched: records tick times, takes the CPU time when
// the warm-up ends, counts the ticks whose frame cycle presented something
// and every presented area, and sets the quit flag once the span has passed.
class IdleWindow final : public Trellis::Window<Casement::StandaloneWindow> {
public:
    IdleWindow(Casement::EventTimerManager& timers, std::chrono::seconds span, bool& quitFlag)
        : Window(timers), span_(span), quitFlag_(quitFlag)
    {
    }

    bool handleEvent(std::uint32_t code, void* payload, bool flag) override
    {
        if (code == Casement::Repaint) {
            ++presented;
        }
        if (code != Casement::TickEvent) {
            return Window::handleEvent(code, payload, flag);
        }
        const int before = presented;
        const bool handled = Window::handleEvent(code, payload, flag);
        ticks.push_back(Clock::now());
        if (ticks.size() == WarmUpTicks) {
            cpuStart = cpuSeconds();
            presentedAtStart = presented;
        } else if (ticks.size() > WarmUpTicks) {
            paintingCycles += presented != before;
            quitFlag_ = ticks.back() - ticks[WarmUpTicks - 1] >= span_;
        }
        return handled;
    }

    std::vector<Clock::time_point> ticks;
    double cpuStart = 0;
    int presented = 0;
    int presentedAtStart = 0;
    int paintingCycles = 0;

private:
    std::chrono::seconds span_;
    bool& quitFlag_;
};

// Runs the window until the span has passed and prints the figures.
int measure(int seconds, int& warnings)
{
    Trellis::ManagerContainer resources(Basalt::ResourceModule::program());
    if (!resources.styleSets().front().manager->loadStyleSheetText(UpdaterWindowTree::StyleSheet)) {
        std::fprintf(stderr, "the window's stylesheet did not load\n");
        return 1;
    }
    bool quitFlag = false;
    Casement::EventTimerManager timers;
    IdleWindow window(timers, std::chrono::seconds(seconds), quitFlag);
    const UpdaterWindowTree::tTree tree = UpdaterWindowTree::build(window.pane());
    if (!window.create(UpdaterWindowTree::Width, UpdaterWindowTree::Height, "bench_idle_window")) {
        std::fprintf(stderr, "the window could not be created: %s\n", SDL_GetError());
        return 1;
    }
    window.show();
    Casement::MessageLoop::run(timers, quitFlag);
    const double cpu = cpuSeconds() - window.cpuStart;

    const auto& ticks = window.ticks;
    const double wall = std::chrono::duration<double>(ticks.back() - ticks[WarmUpTicks - 1]).count();
    double periodMax = 0;
    for (std::size_t index = WarmUpTicks; index < ticks.size(); ++index) {
        const auto period = std::chrono::duration<double, std::milli>(ticks[index] - ticks[index - 1]);
        periodMax = std::max(periodMax, period.count());
    }
    std::printf("video driver: %s, window %dx%d at scale %.2f, %d widgets\n",
                SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "none", window.clientWidth(),
                window.clientHeight(), window.exactScale(), UpdaterWindowTree::countWidgets(*tree.root));
    std::printf("idle window over %.2f s: CPU %.3f s = %.3f %% (target <= 0.3 %%)\n", wall, cpu, 100.0 * cpu / wall);
    std::printf("measured ticks: %zu (largest period %.2f ms); frame cycles that painted: %d (target 0); "
                "areas presented: %d\n",
                ticks.size() - WarmUpTicks, periodMax, window.paintingCycles,
                window.presented - window.presentedAtStart);
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
