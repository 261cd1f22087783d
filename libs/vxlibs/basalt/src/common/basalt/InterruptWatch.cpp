#include "cli/InterruptWatch.h"

#include <atomic>

#include <unistd.h>

namespace Cli {
namespace {

std::atomic<int> interrupts{0};
std::atomic<int> lastCounted{0};
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler needs lock-free counters");

void countInterrupt(int signal, siginfo_t* info, void*)
{
    // A write into a closed pipe raises SIGPIPE as if the writer had sent it.
    if (signal == SIGPIPE && info != nullptr && info->si_pid == ::getpid()) {
        return;
    }
    lastCounted.store(signal);
    interrupts.fetch_add(1);
}

} // namespace

InterruptWatch::InterruptWatch()
{
    interrupts.store(0);
    struct sigaction action {};
    action.sa_sigaction = countInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART | SA_SIGINFO;
    for (std::size_t i = 0; i < Signals.size(); ++i) {
        sigaction(Signals[i], &action, &previous_[i]);
    }
}

InterruptWatch::~InterruptWatch()
{
    for (std::size_t i = 0; i < Signals.size(); ++i) {
        sigaction(Signals[i], &previous_[i], nullptr);
    }
}

int InterruptWatch::takeInterrupts()
{
    return interrupts.exchange(0);
}

int InterruptWatch::lastSignal() const
{
    return lastCounted.load();
}

} // namespace Cli
