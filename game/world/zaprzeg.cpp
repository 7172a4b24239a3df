#include "world/zaprzeg.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>

#include "runtime/sfx.h"
#include "world/bohater.h"
#include "world/efekt.h"
#include "world/game_interface.h"
#include "world/gfx.h"
#include "world/lista.h"
#include "world/model_ids.h"
#include "world/postac.h"
#include "world/sound_ids.h"
#include "world/world_time.h"

namespace gb {
namespace {

constexpr int kBaseOffset = 10;
constexpr double kCrashSpeed = 0.5;

}  // namespace

TZaprzeg::TZaprzeg(const TWorldContext& world) : TCos(world) { Radius = 32; }

bool TZaprzeg::IsStunned() const { return Now < static_cast<std::uint32_t>(CrashTime + StunTime); }

void TZaprzeg::Turn(float amount) {
    if (IsStunned()) return;
    const double change = amount * 0.0025;
    Angle = static_cast<float>(Speed >= 0 ? Angle + change : Angle - change);
}

void TZaprzeg::Throttle(float amount) {
    if (IsStunned() || Braking) return;
    const double x = amount * 0.00025;
    if (amount > 0)
        Speed = static_cast<float>(std::min(1.0, Speed + x));
    else
        Speed = static_cast<float>(std::max(-0.5, Speed + x * 0.5));
}

bool TZaprzeg::Update(std::uint32_t now, std::uint32_t) {
    Now = now;
    Speed = static_cast<float>(Speed * (Braking ? 0.95 : 0.999));
    StepAnimation(FrameTime, Frame, now);
    return false;
}

void TZaprzeg::Collide(TCos& other) {
    if (auto* character = dynamic_cast<TPostac*>(&other)) {
        if (character->Kind == TPostac::Parent || character->Kind == TPostac::Child ||
            character->Kind == TPostac::Snowman) {
            character->HitPoints = 0;
            if (character->Kind != TPostac::Snowman) {
                World.Sfx.Play(sound::RunOver);
                TBohater& hero = World.Game.Hero();
                hero.Goodness = static_cast<float>(hero.Goodness - 0.33);
            }
            return;
        }
        if (character->Kind == TPostac::Angel || character->Kind == TPostac::GrandfatherFrost) {
            Speed = static_cast<float>(Speed / 1.5);
            return;
        }
    }
    if (Speed > kCrashSpeed) {
        auto smoke = std::make_unique<TEfekt>(World, TEfekt::CrashSmoke);
        smoke->X = X;
        smoke->Y = static_cast<float>(Y - static_cast<double>(Radius));
        World.Game.Objects().Add(std::move(smoke), TLista::EffectLayer);
        CrashTime = Now;
        Speed = 0;
        World.Sfx.Play(sound::Crash);
    } else {
        Speed = static_cast<float>(Speed / 1.5);
    }
}

const model::TModel& TZaprzeg::ReindeerModel() const {
    if (std::fabs(Speed) < 0.01f || IsStunned()) return model::Reindeer;
    if (Braking) return model::ReindeerBraking;
    const std::int32_t step = Frame % 4;
    return step == 0 ? model::ReindeerRun1 : step == 2 ? model::ReindeerRun2 : model::Reindeer;
}

void TZaprzeg::Draw(TSurface& surface, std::int32_t camX, std::int32_t camY) const {
    const double a = Angle;
    const double c = std::cos(a);
    const double s = std::sin(a);
    const double sx = static_cast<double>(X) - camX;
    const double sy = static_cast<double>(Y) - camY;
    TGfx& gfx = World.Gfx;

    const model::TModel& sleigh = Ridden ? model::SleighRidden : model::SleighEmpty;
    gfx.DrawModel(surface, RoundToPixel(sx - 38 * c), RoundToPixel(sy + 38 * s), kBaseOffset, sleigh.Id,
                  static_cast<float>(a - 3 * std::numbers::pi / 2), sleigh.Pitch, sleigh.Zoom);

    const model::TModel& reindeer = ReindeerModel();
    const auto yaw = static_cast<float>(a - std::numbers::pi);
    const std::int32_t aheadX = RoundToPixel(38 * c);
    const std::int32_t aheadY = RoundToPixel(-38 * s);
    // The left pair, then the right pair; each wheeler, then its leader.
    for (const double side : {-1.0, 1.0}) {
        const std::int32_t p = RoundToPixel(sx + side * 12 * s);
        const std::int32_t q = RoundToPixel(sy + side * 12 * c);
        gfx.DrawModel(surface, p, q, kBaseOffset, reindeer.Id, yaw, reindeer.Pitch, reindeer.Zoom);
        gfx.DrawModel(surface, PixelOffset(p, -aheadX), PixelOffset(q, -aheadY), kBaseOffset, reindeer.Id, yaw,
                      reindeer.Pitch, reindeer.Zoom);
    }
}

}  // namespace gb
