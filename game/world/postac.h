#pragma once
// The characters: parents who look around, children who wander, snowmen who
// chase and attack the hero, and the invincible angel and grandfather frost.
// Each can speak in a bubble above its head, and falls when its hit points
// are gone.

#include <cstdint>
#include <string>

#include "runtime/rect.h"
#include "world/cos.h"

namespace gb {

class TPostac : public TCos {
public:
    static constexpr std::uint32_t Parent = 0;
    static constexpr std::uint32_t Child = 1;
    static constexpr std::uint32_t Snowman = 2;
    static constexpr std::uint32_t Angel = 3;
    static constexpr std::uint32_t GrandfatherFrost = 4;

    // Fresh values of its kind, with a random heading. A kind outside 0 .. 4
    // stands still with one hit point and is not drawn.
    TPostac(const TWorldContext& world, std::uint32_t kind);

    void Draw(TSurface& surface, std::int32_t camX, std::int32_t camY) const override;
    // True once the hit points are gone: the list lays it down.
    bool Update(std::uint32_t now, std::uint32_t elapsed) override;
    void Collide(TCos& other) override;

    void Hit();
    // A bubble that lasts 100 ms per character.
    void Say(std::string text);
    // Where the bubble of Speech stands when nothing moves it: centred above
    // the figure, its bottom edge 5 Radius above the footprint's centre.
    // The game lays the frame's bubbles out and draws them over the world.
    TRect SpeechRect(std::int32_t camX, std::int32_t camY) const;
    void DrawSpeech(TSurface& surface, const TRect& bubble) const;

    std::int32_t HitPoints = 1;
    std::string Speech;
    std::int32_t SpeechTime = 0;  // ms left for the bubble
    std::uint32_t Kind;
    std::uint32_t Look = 0;  // which of its kind's looks a parent or child wears
    bool Invincible = false;
    bool Gifted = false;
    float Facing;  // the drawing yaw of those who do not walk
    std::uint32_t Now = 0;
    std::uint32_t NextTurnTime = 0;
    std::uint32_t LastBounceTime = 0;
    std::uint32_t LastAttackTime = 0;
    std::uint32_t FrameTime = 0;
    std::int32_t Frame = 0;

private:
    // The heading mirrored, with up to one radian of noise.
    void Bounce();
};

}  // namespace gb
