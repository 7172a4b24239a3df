#pragma once
// The frame timer: one tick per pass of the main loop's idle processing,
// only while it is enabled and the application is active, and the frame
// rate it counts. Time comes in as arguments (milliseconds of the tick
// counter), so it runs with a fake clock.

#include <cstdint>
#include <functional>

namespace gb {

class TFrameTimer {
public:
    std::function<void()> OnTimer;
    // The application became active again after being inactive.
    std::function<void()> OnActivate;

    void SetEnabled(bool enabled, std::uint32_t now);
    bool Enabled() const { return IsEnabled; }

    void SetActive(bool active);
    bool Active() const { return IsActive; }

    // One pass of the idle processing: a tick when enabled and active.
    void Idle(std::uint32_t now);

    // Ticks per second, recomputed whenever at least 1000 ms have passed
    // since the last measurement; 0 until the first one.
    std::int32_t FrameRate() const { return Rate; }

private:
    bool IsEnabled = false;
    bool IsActive = true;
    bool RestartMeasure = false;
    std::int32_t Rate = 0;
    std::uint32_t MeasureStart = 0;
    std::uint32_t Ticks = 0;
};

}  // namespace gb
