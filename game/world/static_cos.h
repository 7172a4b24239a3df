#pragma once
// Scenery: trees, Christmas trees, posts, and the village's houses, chapel,
// fences, hedges, lamps, benches and stalls and the shore's ice, rocks,
// reeds, jetty and bank. A Christmas tree with a bauble on it has a lit
// fuse, and shows the bauble fizzing; when the fuse has burnt down it
// explodes, fireworks go up, and it stays a burnt Christmas tree.

#include <cstdint>

#include "world/cos.h"

namespace gb {

class TStaticCos : public TCos {
public:
    static constexpr std::uint32_t Tree = 0;
    static constexpr std::uint32_t ChristmasTree = 1;
    static constexpr std::uint32_t BurntChristmasTree = 2;
    static constexpr std::uint32_t BigChristmasTree = 3;
    static constexpr std::uint32_t Post = 4;
    // Buildings and the fences, benches, stalls, jetty and bank face the
    // viewer, the front on the footprint's lower edge; the rest face a
    // random way.
    static constexpr std::uint32_t TimberHouse = 5;
    static constexpr std::uint32_t YellowHouse = 6;
    static constexpr std::uint32_t BlueHouse = 7;
    static constexpr std::uint32_t Chapel = 8;
    static constexpr std::uint32_t Fence = 9;
    static constexpr std::uint32_t FenceAcross = 10;
    static constexpr std::uint32_t Hedge = 11;
    static constexpr std::uint32_t StreetLamp = 12;
    static constexpr std::uint32_t Bench = 13;
    static constexpr std::uint32_t MarketStall = 14;
    static constexpr std::uint32_t IceFloe = 15;
    static constexpr std::uint32_t SmallIceFloe = 16;
    static constexpr std::uint32_t ShoreRock = 17;
    static constexpr std::uint32_t Reeds = 18;
    static constexpr std::uint32_t Jetty = 19;
    static constexpr std::uint32_t ShoreBank = 20;
    static constexpr std::uint32_t ShoreBankAcross = 21;
    // A cell of the frozen bay: it lies flat in the ground layer, under
    // everything, and blocks nothing.
    static constexpr std::uint32_t IceSheet = 22;
    static constexpr std::uint32_t KindCount = 23;
    static constexpr std::int32_t NotLit = -1;

    // A kind outside 0 .. KindCount - 1 gets a tree's footprint and is not
    // drawn.
    TStaticCos(const TWorldContext& world, std::uint32_t kind);

    void Draw(TSurface& surface, std::int32_t camX, std::int32_t camY) const override;
    bool Update(std::uint32_t now, std::uint32_t elapsed) override;

    std::uint32_t Kind;
    float Yaw;
    std::int32_t Fuse = NotLit;  // ms until the explosion

private:
    void LaunchFireworks();
};

}  // namespace gb
