#pragma once
// A short effect: the smoke of a sleigh crash, turning as it rises, the
// explosion of a Christmas tree in three frames, or a firework: a rocket
// rising to the effect's point, a burst of stars there, the stars falling.
// It ages only while on the view and the list removes it when it is over.

#include <cstdint>

#include "world/cos.h"

namespace gb {

class TEfekt : public TCos {
public:
    static constexpr std::int32_t CrashSmoke = 0;
    static constexpr std::int32_t Explosion = 1;
    static constexpr std::int32_t Firework = 2;
    // A firework's course, in ms after its delay.
    static constexpr std::uint32_t FireworkBurst = 450;
    static constexpr std::uint32_t FireworkFade = 1250;
    static constexpr std::uint32_t FireworkEnd = 2000;

    // Crash smoke makes its sound as it appears.
    TEfekt(const TWorldContext& world, std::int32_t kind);

    void Draw(TSurface& surface, std::int32_t camX, std::int32_t camY) const override;
    bool Update(std::uint32_t now, std::uint32_t elapsed) override;

    std::int32_t Kind;
    std::uint32_t Age = 0;     // ms on the view
    std::uint32_t Delay = 0;   // a firework: ms on the view before it goes up
    std::uint32_t Colour = 0;  // a firework: index into its bursts' colours
};

}  // namespace gb
