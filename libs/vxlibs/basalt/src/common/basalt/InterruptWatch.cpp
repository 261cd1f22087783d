#include "basalt/InterruptWatch.h"

#include <atomic>
#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace Basalt {
namespace {

std::atomic<int> interrupts{0};
std::atomic<int> lastCounted{0};
std::atomic<int> wakeWriteEnd{-1};
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler needs lock-free counters");

void countInterrupt(int signal, siginfo_t* info, void*)
{
    // A write into a closed pipe raises SIGPIPE as if the writer had sent it.
    if (signal == SIGPIPE && info != nullptr && info->si_pid == ::getpid()) {
        return;
    }
    lastCounted.store(signal);
    interrupts.fetch_add(1);
    // write() is async-signal-safe; a full pipe already wakes the waiter.
    const int savedErrno = errno;
    if (const int end = wakeWriteEnd.load(); end >= 0) {
        [[maybe_unused]] const auto written = ::write(end, "!", 1);
    }
    errno = savedErrno;
}

} // namespace

InterruptWatch::InterruptWatch()
{
    interrupts.store(0);
    if (::pipe2(wakeEnds_, O_CLOEXEC | O_NONBLOCK) != 0) {
        wakeEnds_[0] = wakeEnds_[1] = -1;
    }
    wakeWriteEnd.store(wakeEnds_[1]);
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
    wakeWriteEnd.store(-1);
    for (const int end : wakeEnds_) {
        if (end >= 0) {
            ::close(end);
        }
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

} // namespace Basalt
