#include "world/static_cos.h"

#include <array>
#include <memory>
#include <numbers>

#include "core/random.h"
#include "runtime/sfx.h"
#include "world/efekt.h"
#include "world/game_interface.h"
#include "world/lista.h"
#include "world/world_sounds.h"
#include "world/world_time.h"

namespace gb {
namespace {

struct TSceneryLook {
    std::int32_t Radius;
    std::int32_t Model;
    float Zoom;
};

constexpr std::array<TSceneryLook, 5> kLooks{{
    {12, 2, 350},  // tree
    {24, 3, 350},  // Christmas tree
    {12, 4, 350},  // burnt Christmas tree
    {48, 5, 700},  // big Christmas tree
    {8, 6, 774},   // post
}};

}  // namespace

TStaticCos::TStaticCos(const TWorldContext& world, std::uint32_t kind)
    : TCos(world), Kind(kind), Yaw(static_cast<float>(bbx::RandomReal() * 2 * std::numbers::pi)) {
    Radius = kind < kLooks.size() ? kLooks[kind].Radius : kLooks[Tree].Radius;
}

void TStaticCos::Draw(TSurface& surface, std::int32_t camX, std::int32_t camY) const {
    if (Kind >= kLooks.size()) return;
    DrawFigure(surface, camX, camY, kLooks[Kind].Model, Yaw, 0.3f, kLooks[Kind].Zoom);
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
