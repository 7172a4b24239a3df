#pragma once
// The sleigh team: a sleigh pulled by four reindeer, the player's vehicle,
// driven with the arrow keys once the hero has got in. It runs characters
// over, slows down on what it brushes, and crashes into obstacles at speed,
// which stuns it for a moment.

#include <cstdint>

#include "world/cos.h"

namespace gb {

class TZaprzeg : public TCos {
public:
    static constexpr std::uint32_t StunTime = 1500;  // ms after a crash

    explicit TZaprzeg(const TWorldContext& world);

    void Draw(TSurface& surface, std::int32_t camX, std::int32_t camY) const override;
    bool Update(std::uint32_t now, std::uint32_t elapsed) override;
    void Collide(TCos& other) override;

    bool IsStunned() const;
    // Positive amounts turn counter-clockwise on the screen when driving
    // forward; the controller passes the elapsed milliseconds of a held key.
    void Turn(float amount);
    // Positive amounts accelerate up to 1 px/ms; others brake and reverse,
    // at half the rate, down to -0.5 px/ms.
    void Throttle(float amount);

    std::uint32_t FrameTime = 0;
    std::uint32_t CrashTime = 0;
    std::uint32_t Now = 0;
    std::int32_t Frame = 0;
    bool Ridden = false;
    bool Braking = false;

private:
    const model::TModel& ReindeerModel() const;
};

}  // namespace gb
