#include "world/efekt.h"

#include "runtime/sfx.h"
#include "world/gfx.h"
#include "world/model_ids.h"
#include "world/sound_ids.h"

namespace gb {
namespace {

// How far below its point a firework's rocket starts, pixels.
constexpr std::uint32_t kRocketRise = 90;

}  // namespace

TEfekt::TEfekt(const TWorldContext& world, std::int32_t kind) : TCos(world), Kind(kind) {
    // A firework's frames are 80 pixels high and centred on its point.
    Radius = Kind == Firework ? 40 : 19;
    if (Kind == CrashSmoke) World.Sfx.Play(sound::Smoke);
}

void TEfekt::Draw(TSurface& surface, std::int32_t camX, std::int32_t camY) const {
    if (Kind == CrashSmoke) {
        DrawFigure(surface, camX, camY, model::CrashSmoke, Angle);
    } else if (Kind == Explosion) {
        DrawFigure(surface, camX, camY, model::ExplosionFrames[Age < 200 ? 0 : Age < 400 ? 1 : 2]);
    } else if (Kind == Firework && Age >= Delay) {
        const std::uint32_t t = Age - Delay;
        if (t < FireworkBurst) {
            const auto below = static_cast<int>(kRocketRise - kRocketRise * t / FireworkBurst);
            const model::TFixedModel& rocket = model::FireworkRocket;
            World.Gfx.DrawModel(surface, ScreenX(camX), ScreenY(camY), Radius + below, rocket.Id, rocket.Yaw,
                                rocket.Pitch, rocket.Zoom);
        } else {
            DrawFigure(surface, camX, camY,
                       t < FireworkFade ? model::FireworkBursts[Colour % model::FireworkBursts.size()]
                                        : model::FireworkFading);
        }
    }
}

bool TEfekt::Update(std::uint32_t, std::uint32_t elapsed) {
    const std::uint32_t before = Age;
    Age += elapsed;
    if (Kind == CrashSmoke) Angle = static_cast<float>(Angle + elapsed * 0.005);
    if (Kind == Firework) {
        const std::uint32_t burst = Delay + FireworkBurst;
        if (before < burst && Age >= burst) World.Sfx.Play(sound::Explosion);
        return Age > Delay + FireworkEnd;
    }
    return (Kind == CrashSmoke && Age > 1500) || (Kind == Explosion && Age > 600);
}

}  // namespace gb
