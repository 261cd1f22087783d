#include "basalt/Clock.h"

#include "basalt/SystemClock.h"

#include <atomic>

namespace Basalt {
namespace {

// Never destroyed: threads still running at exit may sleep on it.
SystemClock* const systemClock = new SystemClock;
std::atomic<Clock*> current{systemClock};

} // namespace

Clock& clock()
{
    return *current.load();
}

ScopedClock::ScopedClock(Clock& clock) : previous_(current.exchange(&clock))
{
}

ScopedClock::~ScopedClock()
{
    current.store(previous_);
}

} // namespace Basalt
