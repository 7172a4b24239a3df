#include "runtime/frame_timer.h"

#include "core/rounding.h"

namespace gb {

void TFrameTimer::SetEnabled(bool enabled, std::uint32_t now) {
    if (enabled && !IsEnabled) {
        MeasureStart = now;
        Ticks = 0;
    }
    IsEnabled = enabled;
}

void TFrameTimer::SetActive(bool active) {
    const bool activated = active && !IsActive;
    IsActive = active;
    if (!activated) return;
    // The inactive time does not count towards the frame rate.
    RestartMeasure = true;
    if (OnActivate) OnActivate();
}

void TFrameTimer::Idle(std::uint32_t now) {
    if (!IsEnabled || !IsActive) return;
    if (RestartMeasure) {
        RestartMeasure = false;
        MeasureStart = now;
        Ticks = 0;
    }
    ++Ticks;
    const std::uint32_t passed = now - MeasureStart;
    if (passed >= 1000) {
        Rate = static_cast<std::int32_t>(bbx::RoundHalfEven(static_cast<long double>(Ticks) * 1000 / passed));
        Ticks = 0;
        MeasureStart = now;
    }
    if (OnTimer) OnTimer();
}

}  // namespace gb
