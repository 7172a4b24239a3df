#pragma once
// The hero, whom the player leads with the mouse: he walks to a point or an
// object, strikes with his hand, hands out presents and rods to children,
// hangs baubles on Christmas trees, and walks to the sleigh to get in.

#include <cstdint>

#include "world/cos.h"
#include "world/walk_route.h"

namespace gb {

class TBohater : public TCos {
public:
    // Items in hand.
    static constexpr std::uint32_t Hand = 0;
    static constexpr std::uint32_t Present = 1;
    static constexpr std::uint32_t Rod = 2;
    static constexpr std::uint32_t Bauble = 3;
    // Commands.
    static constexpr std::uint32_t NoCommand = 0;
    static constexpr std::uint32_t Walk = 1;        // to the point, or after the target
    static constexpr std::uint32_t WalkAndUse = 2;  // to the target, then use the item on it
    static constexpr std::uint32_t BoardSleigh = 3; // to the sleigh, then get in
    static constexpr float MostHealth = 1000;

    explicit TBohater(const TWorldContext& world);

    void Draw(TSurface& surface, std::int32_t camX, std::int32_t camY) const override;
    bool Update(std::uint32_t now, std::uint32_t elapsed) override;
    void Collide(TCos& other) override;

    // A WalkAndUse whose target is neither a character nor scenery becomes
    // a Walk. `target` is followed while a command runs; it is not owned.
    void SetCommand(std::uint32_t command, std::int32_t x, std::int32_t y, TCos* target);
    // Another item drops a WalkAndUse in progress.
    void SelectItem(std::uint32_t index);
    void Hurt();

    std::uint32_t Item = Hand;
    std::uint32_t Command = NoCommand;
    std::int32_t TargetX = 0;
    std::int32_t TargetY = 0;
    TCos* Target = nullptr;
    float Health = MostHealth;  // no lower bound
    float Goodness = 0;
    std::uint32_t FrameTime = 0;
    std::uint32_t LastHitTime = 0;
    std::uint32_t Now = 0;
    std::int32_t Frame = 0;
    std::int32_t Presents = 0;
    std::int32_t Rods = 0;
    std::int32_t Baubles = 0;
    // His way round obstacles to the point or the target of the command.
    TWalkRoute Route;

private:
    void UseItemOn(TCos& target);
    // Gives the child a present or a rod from `stock`, when there is one.
    void Gift(TCos& target, std::int32_t& stock, const char* event);
};

}  // namespace gb
