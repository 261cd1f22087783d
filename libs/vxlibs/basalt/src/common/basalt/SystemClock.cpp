#include "basalt/SystemClock.h"

#include <thread>

#include <boost/thread/thread.hpp>

namespace Basalt {

Clock::TimePoint SystemClock::now()
{
    return std::chrono::steady_clock::now();
}

void SystemClock::sleepFor(Duration duration)
{
    std::this_thread::sleep_for(duration);
}

void SystemClock::interruptibleSleepFor(Duration duration)
{
    boost::this_thread::sleep_for(
        boost::chrono::nanoseconds(std::chrono::nanoseconds(duration).count()));
}

} // namespace Basalt
