#include "world/speech_bubbles.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace gb {
namespace {

// The rectangle moved by as little as it takes to lie inside the area.
TRect Inside(TRect r, const TRect& area) {
    const int dx = std::max(area.Left - r.Left, std::min(0, area.Right - r.Right));
    const int dy = std::max(area.Top - r.Top, std::min(0, area.Bottom - r.Bottom));
    // Too wide or too tall: its left or top edge on the area's.
    const int x = r.Width() > area.Width() ? area.Left - r.Left : dx;
    const int y = r.Height() > area.Height() ? area.Top - r.Top : dy;
    return {r.Left + x, r.Top + y, r.Right + x, r.Bottom + y};
}

bool Overlap(const TRect& a, const TRect& b) {
    return a.Left < b.Right + BubbleGap && b.Left < a.Right + BubbleGap && a.Top < b.Bottom + BubbleGap &&
           b.Top < a.Bottom + BubbleGap;
}

bool Free(const TRect& r, const std::vector<TRect>& placed) {
    return std::none_of(placed.begin(), placed.end(), [&r](const TRect& other) { return Overlap(r, other); });
}

TRect AtTop(const TRect& r, int top) { return {r.Left, top, r.Right, top + r.Height()}; }

}  // namespace

std::vector<TRect> LayOutBubbles(const std::vector<TRect>& wanted, const TRect& area) {
    std::vector<TRect> placed;
    placed.reserve(wanted.size());
    for (const TRect& want : wanted) {
        const TRect start = Inside(want, area);
        TRect best = start;
        if (!Free(start, placed)) {
            // Candidates: just above or just below each bubble already placed.
            int bestShift = std::numeric_limits<int>::max();
            for (const TRect& other : placed) {
                for (const int top : {other.Top - BubbleGap - start.Height(), other.Bottom + BubbleGap}) {
                    const TRect candidate = AtTop(start, top);
                    if (candidate.Top < area.Top || candidate.Bottom > area.Bottom || !Free(candidate, placed))
                        continue;
                    const int shift = std::abs(candidate.Top - start.Top);
                    if (shift < bestShift) {
                        bestShift = shift;
                        best = candidate;
                    }
                }
            }
        }
        placed.push_back(best);
    }
    return placed;
}

}  // namespace gb
