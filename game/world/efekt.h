#pragma once
// A short effect: the smoke of a sleigh crash, turning as it rises, or the
// explosion of a Christmas tree in three frames. It ages only while on the
// view and the list removes it when it is over.

#include <cstdint>

#include "world/cos.h"

namespace gb {

class TEfekt : public TCos {
public:
    static constexpr std::int32_t CrashSmoke = 0;
    static constexpr std::int32_t Explosion = 1;

    // Crash smoke makes its sound as it appears.
    TEfekt(const TWorldContext& world, std::int32_t kind);

    void Draw(TSurface& surface, std::int32_t camX, std::int32_t camY) const override;
    bool Update(std::uint32_t now, std::uint32_t elapsed) override;

    std::int32_t Kind;
    std::uint32_t Age = 0;  // ms on the view
};

}  // namespace gb
