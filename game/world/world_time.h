#pragma once
// Tick arithmetic of the world. Ticks are the 32-bit millisecond counter,
// which wraps; a delay is over when stamp + interval < now, computed in the
// counter's own wrapping arithmetic.

#include <algorithm>
#include <cstdint>
#include <limits>

namespace gb {

constexpr bool IsPast(std::uint32_t stamp, std::uint32_t interval, std::uint32_t now) {
    return static_cast<std::uint32_t>(stamp + interval) < now;
}

// The animation counter of walking figures and the sleigh: one step each
// time more than 100 ms have passed since the last one.
constexpr void StepAnimation(std::uint32_t& frameTime, std::int32_t& frame, std::uint32_t now) {
    if (!IsPast(frameTime, 100, now)) return;
    frameTime = now;
    frame = static_cast<std::int32_t>(static_cast<std::uint32_t>(frame) + 1u);
}

// A millisecond count-down less the elapsed time, held within 32 bits.
constexpr std::int32_t CountDown(std::int32_t value, std::uint32_t elapsed) {
    const std::int64_t left = std::int64_t{value} - elapsed;
    return static_cast<std::int32_t>(std::max<std::int64_t>(left, std::numeric_limits<std::int32_t>::min()));
}

}  // namespace gb
