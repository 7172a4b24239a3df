#pragma once
// A wall block: one map cell of wall, drawn from the sprite bank's wall image.
// It never moves, never ends and ignores being run into.

#include "world/cos.h"

namespace gb {

class TMurek : public TCos {
public:
    explicit TMurek(const TWorldContext& world);
    void Draw(TSurface& surface, std::int32_t camX, std::int32_t camY) const override;
};

}  // namespace gb
