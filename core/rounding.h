#pragma once
// Rounding of reals to integers: to the nearest, halves to the even neighbour
// (the processor's default rounding mode, which nothing in the programs changes).

#include <cmath>
#include <cstdint>

namespace bbx {

inline std::int64_t RoundHalfEven(long double value) {
    return static_cast<std::int64_t>(std::rint(value));
}

}  // namespace bbx
