#include "world/efekt.h"

#include "runtime/sfx.h"
#include "world/model_ids.h"
#include "world/sound_ids.h"

namespace gb {

TEfekt::TEfekt(const TWorldContext& world, std::int32_t kind) : TCos(world), Kind(kind) {
    Radius = 19;
    if (Kind == CrashSmoke) World.Sfx.Play(sound::Smoke);
}

void TEfekt::Draw(TSurface& surface, std::int32_t camX, std::int32_t camY) const {
    if (Kind == CrashSmoke) {
        DrawFigure(surface, camX, camY, model::CrashSmoke, Angle);
    } else if (Kind == Explosion) {
        DrawFigure(surface, camX, camY, model::ExplosionFrames[Age < 200 ? 0 : Age < 400 ? 1 : 2]);
    }
}

bool TEfekt::Update(std::uint32_t, std::uint32_t elapsed) {
    Age += elapsed;
    if (Kind == CrashSmoke) Angle = static_cast<float>(Angle + elapsed * 0.005);
    return (Kind == CrashSmoke && Age > 1500) || (Kind == Explosion && Age > 600);
}

}  // namespace gb
