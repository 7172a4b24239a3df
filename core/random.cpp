#include "core/random.h"

#include <chrono>
#include <random>

namespace bbx {
namespace {

std::mt19937& Generator() {
    static std::mt19937 generator(5489u);
    return generator;
}

}  // namespace

void Randomize() {
    RandSeed(static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count() ^
                                        std::chrono::system_clock::now().time_since_epoch().count()));
}

void RandSeed(std::uint32_t seed) { Generator().seed(seed); }

std::int32_t Random(std::int32_t n) {
    if (n <= 0) return 0;
    return std::uniform_int_distribution<std::int32_t>(0, n - 1)(Generator());
}

double RandomReal() { return std::uniform_real_distribution<double>(0.0, 1.0)(Generator()); }

}  // namespace bbx
