#pragma once

#include <trellis/Bar.h>

#include <cstdint>

// The busy indicator of the info panel: a Bar whose picture is a strip of 12
// frames, turned by its "step" attribute ("S0" to "S11"), which the
// stylesheet maps to the frame shown. It moves on every second timer period
// while running, a full turn in 24 periods.
class SpinningProgressWheel : public Trellis::Bar {
public:
    static constexpr std::uint32_t Frames = 12;

    // Shows the wheel and starts counting from the first frame; the picture
    // keeps the last step shown until the next one.
    void start();
    // Hides the wheel.
    void stop();
    bool isRunning() const { return running_; }
    std::uint32_t frame() const { return frame_; }

    // One timer period (the main widget calls it while the update runs).
    void onTick() override;

private:
    bool running_ = false;
    std::int32_t ticks_ = 0;
    std::uint32_t frame_ = 0;
};
