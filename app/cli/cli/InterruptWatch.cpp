#include "cli/InterruptWatch.h"

#include <atomic>

namespace Cli {
namespace {

std::atomic<int> interrupts{0};
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler needs a lock-free counter");

void countInterrupt(int)
{
    interrupts.fetch_add(1);
}

} // namespace

InterruptWatch::InterruptWatch()
{
    interrupts.store(0);
    struct sigaction action {};
    action.sa_handler = countInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, &previous_);
}

InterruptWatch::~InterruptWatch()
{
    sigaction(SIGINT, &previous_, nullptr);
}

int InterruptWatch::takeInterrupts()
{
    return interrupts.exchange(0);
}

bool ConfirmByRepeat::press(Clock::time_point now)
{
    if (warned_ && now - warnedAt_ <= window_) {
        return true;
    }
    warned_ = true;
    warnedAt_ = now;
    return false;
}

} // namespace Cli
