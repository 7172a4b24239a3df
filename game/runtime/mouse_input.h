#pragma once
// Mouse buttons and the shift state that come with mouse events, as the game's
// screens and windows receive them.

#include <cstdint>

namespace gb {

enum class TMouseButton : std::int32_t { Left = 0, Right = 1, Middle = 2 };

// A set of the flags below.
using TShiftState = std::uint32_t;
inline constexpr TShiftState ssShift = 1u << 0;
inline constexpr TShiftState ssAlt = 1u << 1;
inline constexpr TShiftState ssCtrl = 1u << 2;
inline constexpr TShiftState ssLeft = 1u << 3;
inline constexpr TShiftState ssRight = 1u << 4;
inline constexpr TShiftState ssMiddle = 1u << 5;

}  // namespace gb
