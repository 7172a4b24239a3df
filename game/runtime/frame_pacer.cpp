#include "runtime/frame_pacer.h"

namespace gb {

void TFramePacer::SetRate(int rate) {
    const int chosen = rate >= 1 && rate <= MaxRate ? rate : DefaultRate;
    if (chosen == CurrentRate && Period != 0) return;
    CurrentRate = chosen;
    const std::uint64_t period = (1'000'000 + CurrentRate / 2) / CurrentRate;
    // A change of rate restarts the cadence from the last frame's start.
    if (Started) Due = Due - Period + period;
    Period = period;
}

std::uint64_t TFramePacer::Wait(std::uint64_t now) {
    if (Started && now < Due) return Due - now;
    Due = Started && now < Due + Period ? Due + Period : now + Period;
    Started = true;
    return 0;
}

}  // namespace gb
