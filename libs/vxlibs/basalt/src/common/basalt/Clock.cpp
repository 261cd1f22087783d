#include "basalt/Clock.h"

#include "basalt/SystemClock.h"

#include <atomic>

namespace Basalt {
namespace {

SystemClock systemClock;
std::atomic<Clock*> current{&systemClock};

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
