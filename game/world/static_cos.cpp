#include "world/static_cos.h"

#include <array>
#include <memory>
#include <numbers>

#include "core/random.h"
#include "runtime/sfx.h"
#include "world/efekt.h"
#include "world/game_interface.h"
#include "world/lista.h"
#include "world/model_ids.h"
#include "world/sound_ids.h"
#include "world/world_time.h"

namespace gb {
namespace {

struct TSceneryLook {
    std::int32_t Radius;
    model::TModel Figure;
};

constexpr std::array<TSceneryLook, 5> kLooks{{
    {12, model::Tree},
    {24, model::ChristmasTree},
    {12, model::BurntChristmasTree},
    {48, model::BigChristmasTree},
    {8, model::Post},
}};

}  // namespace

TStaticCos::TStaticCos(const TWorldContext& world, std::uint32_t kind)
    : TCos(world), Kind(kind), Yaw(static_cast<float>(bbx::RandomReal() * 2 * std::numbers::pi)) {
    Radius = kind < kLooks.size() ? kLooks[kind].Radius : kLooks[Tree].Radius;
}

void TStaticCos::Draw(TSurface& surface, std::int32_t camX, std::int32_t camY) const {
    if (Kind >= kLooks.size()) return;
    DrawFigure(surface, camX, camY, kLooks[Kind].Figure, Yaw);
}

bool TStaticCos::Update(std::uint32_t, std::uint32_t elapsed) {
    if (Kind != ChristmasTree || Fuse == NotLit) return false;
    Fuse = CountDown(Fuse, elapsed);
    if (Fuse >= 0) return false;

    auto blast = std::make_unique<TEfekt>(World, TEfekt::Explosion);
    blast->X = X;
    blast->Y = static_cast<float>(Y - static_cast<double>(blast->Radius + Radius));
    World.Game.Objects().Add(std::move(blast), TLista::EffectLayer);
    Fuse = NotLit;
    Kind = BurntChristmasTree;
    World.Game.FireEvent("wybuch", Id);
    World.Sfx.Play(sound::Explosion);
    return false;
}

}  // namespace gb
