#include "world/efekt.h"

#include "runtime/sfx.h"
#include "world/world_sounds.h"

namespace gb {

TEfekt::TEfekt(const TWorldContext& world, std::int32_t kind) : TCos(world), Kind(kind) {
    Radius = 19;
    if (Kind == CrashSmoke) World.Sfx.Play(sound::Smoke);
}

void TEfekt::Draw(TSurface& surface, std::int32_t camX, std::int32_t camY) const {
    if (Kind == CrashSmoke) {
        DrawFigure(surface, camX, camY, -6, Angle, 0.3f, 350);
    } else if (Kind == Explosion) {
        const std::int32_t model = Age < 200 ? -7 : Age < 400 ? -8 : -9;
        DrawFigure(surface, camX, camY, model, 0.3f, 0.3f, 180);
    }
}

bool TEfekt::Update(std::uint32_t, std::uint32_t elapsed) {
    Age += elapsed;
    if (Kind == CrashSmoke) Angle = static_cast<float>(Angle + elapsed * 0.005);
    return (Kind == CrashSmoke && Age > 1500) || (Kind == Explosion && Age > 600);
}

}  // namespace gb
