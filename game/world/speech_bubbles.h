#pragma once
// Where the speech bubbles of a frame go: each as close to the place above
// its speaker as it can be, inside the play area (clear of the screen's
// edges, the film bands and the head-up display), and stacked above or below
// the others rather than over them.

#include <vector>

#include "runtime/rect.h"

namespace gb {

// Pixels kept between two stacked bubbles.
inline constexpr int BubbleGap = 2;

// The bubbles, in the order given, each moved as little as it can: first
// into the area, then, when it would cover one placed before, above or below
// that one. A bubble larger than the area keeps to its top left; when no
// place is free of the others, the bubble stays where the area put it.
std::vector<TRect> LayOutBubbles(const std::vector<TRect>& wanted, const TRect& area);

}  // namespace gb
