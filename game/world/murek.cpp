#include "world/murek.h"

#include "world/gfx.h"

namespace gb {

TMurek::TMurek(const TWorldContext& world) : TCos(world) { Radius = MapCellSize / 2; }

void TMurek::Draw(TSurface& surface, std::int32_t camX, std::int32_t camY) const {
    World.Gfx.DrawWall(surface, ScreenX(camX), ScreenY(camY), Radius);
}

}  // namespace gb
