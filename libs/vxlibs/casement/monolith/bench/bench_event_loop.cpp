// The cost of an idle user-interface thread: the real message loop with one
// registered 40 ms event timer and no window, measured for 10 s (or the
// seconds given as the first argument) after one second of warm-up (SDL sets
// itself up on first use). Prints the
// process's CPU time over the measured span (user and system, from getrusage)
// as a share of the wall time, and the regularity of the ticks (mean and
// largest period). Target: idle CPU under 0.5 %.
#include "casement/EventTimerManager.h"
#include "casement/MessageLoop.h"
#include "casement/init_casement.h"

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double cpuSeconds()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

constexpr std::size_t WarmUpTicks = 25;

// Records tick times, takes the CPU time when the warm-up ends and sets the
// quit flag once the measured span has passed.
class TickCounter final : public Casement::EventHandler {
public:
    TickCounter(std::chrono::seconds span, bool& quitFlag) : span_(span), quitFlag_(quitFlag) {}

    bool handleEvent(std::uint32_t, void*, bool) override
    {
        ticks.push_back(Clock::now());
        if (ticks.size() == WarmUpTicks) {
            cpuStart = cpuSeconds();
        }
        quitFlag_ = ticks.size() > WarmUpTicks && ticks.back() - ticks[WarmUpTicks - 1] >= span_;
        return true;
    }

    std::vector<Clock::time_point> ticks;
    double cpuStart = 0;

private:
    std::chrono::seconds span_;
    bool& quitFlag_;
};

} // namespace

int main(int argc, char** argv)
{
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    if (!Casement::initCasement(0x04010000, 0x000F0001)) {
        std::fprintf(stderr, "Casement could not be initialised\n");
        return 1;
    }
    bool quitFlag = false;
    TickCounter counter(std::chrono::seconds(seconds), quitFlag);
    double periodMean = 0;
    double periodMax = 0;
    double cpu = 0;
    {
        Casement::EventTimerManager timers;
        timers.addTimer(&counter, 40, 0);
        Casement::MessageLoop::run(timers, quitFlag);
        cpu = cpuSeconds() - counter.cpuStart;
    }
    const double wall =
        std::chrono::duration<double>(counter.ticks.back() - counter.ticks[WarmUpTicks - 1]).count();
    for (std::size_t index = WarmUpTicks; index < counter.ticks.size(); ++index) {
        const double period =
            std::chrono::duration<double, std::milli>(counter.ticks[index] - counter.ticks[index - 1]).count();
        periodMean += period;
        periodMax = std::max(periodMax, period);
    }
    periodMean /= static_cast<double>(counter.ticks.size() - WarmUpTicks);
    std::printf("video driver: %s\n", SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "none");
    std::printf("idle loop over %.2f s: CPU %.3f s = %.3f %% (target < 0.5 %%)\n", wall, cpu,
                100.0 * cpu / wall);
    std::printf("measured ticks: %zu, period mean %.2f ms, max %.2f ms (nominal 40 ms)\n",
                counter.ticks.size() - WarmUpTicks, periodMean, periodMax);
    Casement::shutdownCasement();
    return 0;
}
