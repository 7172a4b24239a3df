#pragma once
// Paces the frames of a loop that has no vertical blank to wait for: one
// frame per period of the display's refresh rate, the time in between slept
// away instead of spun. Time comes in as arguments (microseconds of a
// monotonic clock), so it runs with a fake clock.

#include <cstdint>

namespace gb {

class TFramePacer {
public:
    static constexpr int DefaultRate = 60;
    static constexpr int MaxRate = 1000;

    // The rate to pace at for what the display reports: DefaultRate when it
    // reports none (0) or one no display has.
    static int DisplayRate(int reported) { return reported >= 24 && reported <= 500 ? reported : DefaultRate; }

    explicit TFramePacer(int rate = DefaultRate) { SetRate(rate); }

    // Frames per second, 1 .. MaxRate (DefaultRate for anything else); takes
    // effect from the next frame on.
    void SetRate(int rate);
    int Rate() const { return CurrentRate; }

    // The microseconds to wait from `now` until the next frame is due; 0
    // when it is due, and the frame then counts as started. The first frame
    // is due at once; a loop that fell a whole period behind starts afresh
    // rather than hurrying to catch up.
    std::uint64_t Wait(std::uint64_t now);

private:
    int CurrentRate = DefaultRate;
    std::uint64_t Period = 0;
    bool Started = false;
    std::uint64_t Due = 0;
};

}  // namespace gb
