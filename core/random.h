#pragma once
// The program's one pseudo-random generator, seeded once from the clock at
// start (tests seed it with a fixed value to repeat a run).

#include <cstdint>

namespace bbx {

void Randomize();
void RandSeed(std::uint32_t seed);

// A uniform integer 0 .. n - 1; 0 when n is 0 or below.
std::int32_t Random(std::int32_t n);

// A uniform number in [0, 1).
double RandomReal();

}  // namespace bbx
