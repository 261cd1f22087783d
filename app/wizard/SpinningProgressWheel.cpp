#include "wizard/SpinningProgressWheel.h"

#include <string>

void SpinningProgressWheel::start()
{
    setVisible(true);
    running_ = true;
    ticks_ = 0;
    frame_ = 0;
}

void SpinningProgressWheel::stop()
{
    setVisible(false);
    running_ = false;
}

void SpinningProgressWheel::onTick()
{
    if (!running_) {
        return;
    }
    if (ticks_++ % 2 == 1) {
        frame_ = (frame_ + 1) % Frames;
        setAttribute("step", "S" + std::to_string(frame_));
    }
}
