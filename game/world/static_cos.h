#pragma once
// Scenery: trees, Christmas trees, posts. A Christmas tree with a bauble on
// it has a lit fuse; when the fuse has burnt down it explodes and stays a
// burnt Christmas tree.

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
    static constexpr std::int32_t NotLit = -1;

    // Faces a random way. A kind outside 0 .. 4 gets a tree's footprint and
    // is not drawn.
    TStaticCos(const TWorldContext& world, std::uint32_t kind);

    void Draw(TSurface& surface, std::int32_t camX, std::int32_t camY) const override;
    bool Update(std::uint32_t now, std::uint32_t elapsed) override;

    std::uint32_t Kind;
    float Yaw;
    std::int32_t Fuse = NotLit;  // ms until the explosion
};

}  // namespace gb
