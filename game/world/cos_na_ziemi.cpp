#include "world/cos_na_ziemi.h"

#include <array>

#include "world/world_time.h"

namespace gb {
namespace {

struct TLyingLook {
    std::int32_t Timer;
    std::int32_t Model;
    float Pitch;  // -0.7 tips a standing figure over
};

constexpr std::array<TLyingLook, 5> kLooks{{
    {15000, 9, -0.7f},                 // parent
    {10000, 10, -0.7f},                // child
    {30000, 24, 0.3f},                 // melted snowman
    {TCosNaZiemi::Never, 15, -0.7f},   // angel
    {TCosNaZiemi::Never, 16, -0.7f},   // grandfather frost
}};

}  // namespace

TCosNaZiemi::TCosNaZiemi(const TWorldContext& world, std::uint32_t kind)
    : TCos(world), Kind(kind), Timer(kind < kLooks.size() ? kLooks[kind].Timer : Never) {
    Radius = 12;
}

void TCosNaZiemi::Draw(TSurface& surface, std::int32_t camX, std::int32_t camY) const {
    if (Kind >= kLooks.size()) return;
    DrawFigure(surface, camX, camY, kLooks[Kind].Model, 0.3f, kLooks[Kind].Pitch, 180);
}

bool TCosNaZiemi::Update(std::uint32_t, std::uint32_t elapsed) {
    if (Timer == Never) return false;
    Timer = CountDown(Timer, elapsed);
    if (Timer >= 0) return false;
    Timer = RunOut;
    return true;
}

}  // namespace gb
