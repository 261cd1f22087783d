#pragma once

#include "basalt/Clock.h"

namespace Basalt {

// Real monotonic time and real sleeps.
class SystemClock final : public Clock {
public:
    TimePoint now() override;
    void sleepFor(Duration duration) override;
    void interruptibleSleepFor(Duration duration) override;
};

} // namespace Basalt
