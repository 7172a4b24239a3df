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
    model::TFixedModel Figure;
    bool FacesViewer;  // drawn at the model's own yaw, not the object's
};

constexpr TSceneryLook Turning(std::int32_t radius, const model::TModel& m) {
    return {radius, {m.Id, m.Zoom, m.Pitch, 0}, false};
}
constexpr TSceneryLook Facing(std::int32_t radius, const model::TFixedModel& m) { return {radius, m, true}; }

constexpr std::array<TSceneryLook, TStaticCos::KindCount> kLooks{{
    Turning(12, model::Tree),
    Turning(24, model::ChristmasTree),
    Turning(12, model::BurntChristmasTree),
    Turning(48, model::BigChristmasTree),
    Turning(8, model::Post),
    Facing(72, model::TimberHouse),
    Facing(72, model::YellowHouse),
    Facing(96, model::BlueHouse),
    Facing(96, model::Chapel),
    Facing(24, model::Fence),
    Facing(24, model::FenceAcross),
    Facing(24, model::Hedge),
    Turning(8, model::StreetLamp),
    Facing(16, model::Bench),
    Facing(24, model::MarketStall),
    Turning(24, model::IceFloe),
    Turning(16, model::SmallIceFloe),
    Turning(12, model::ShoreRock),
    Turning(8, model::Reeds),
    Facing(24, model::Jetty),
    Facing(24, model::ShoreBank),
    Facing(24, model::ShoreBankAcross),
    Facing(24, model::IceSheet),
}};

// The show over an exploding Christmas tree: where each firework bursts,
// relative to the tree's centre, and when it goes up.
struct TFireworkShot {
    float Dx, Dy;
    std::uint32_t Delay;
};

constexpr std::array<TFireworkShot, 7> kShow{{
    {-70, -150, 150},
    {60, -175, 450},
    {-10, -205, 800},
    {90, -130, 1150},
    {-95, -190, 1450},
    {25, -160, 1800},
    {-40, -225, 2150},
}};

}  // namespace

void TStaticCos::LaunchFireworks() {
    for (std::size_t k = 0; k < kShow.size(); ++k) {
        auto shot = std::make_unique<TEfekt>(World, TEfekt::Firework);
        shot->X = X + kShow[k].Dx;
        shot->Y = Y + kShow[k].Dy;
        shot->Delay = kShow[k].Delay;
        shot->Colour = static_cast<std::uint32_t>(k);
        World.Game.Objects().Add(std::move(shot), TLista::EffectLayer);
    }
}

TStaticCos::TStaticCos(const TWorldContext& world, std::uint32_t kind)
    : TCos(world), Kind(kind), Yaw(static_cast<float>(bbx::RandomReal() * 2 * std::numbers::pi)) {
    Radius = kind < kLooks.size() ? kLooks[kind].Radius : kLooks[Tree].Radius;
}

void TStaticCos::Draw(TSurface& surface, std::int32_t camX, std::int32_t camY) const {
    if (Kind >= kLooks.size()) return;
    const TSceneryLook& look = kLooks[Kind];
    if (look.FacesViewer)
        DrawFigure(surface, camX, camY, look.Figure);
    else
        DrawFigure(surface, camX, camY, look.Figure.Id, Yaw, look.Figure.Pitch, look.Figure.Zoom);
    if (Kind == ChristmasTree && Fuse != NotLit) DrawFigure(surface, camX, camY, model::HungBauble);
}

bool TStaticCos::Update(std::uint32_t, std::uint32_t elapsed) {
    if (Kind != ChristmasTree || Fuse == NotLit) return false;
    Fuse = CountDown(Fuse, elapsed);
    if (Fuse >= 0) return false;

    auto blast = std::make_unique<TEfekt>(World, TEfekt::Explosion);
    blast->X = X;
    blast->Y = static_cast<float>(Y - static_cast<double>(blast->Radius + Radius));
    World.Game.Objects().Add(std::move(blast), TLista::EffectLayer);
    LaunchFireworks();
    Fuse = NotLit;
    Kind = BurntChristmasTree;
    World.Game.FireEvent("wybuch", Id);
    World.Sfx.Play(sound::Explosion);
    return false;
}

}  // namespace gb
