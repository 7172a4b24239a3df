#include "world/cos_na_ziemi.h"

#include <array>

#include "world/model_ids.h"
#include "world/postac.h"
#include "world/world_time.h"

namespace gb {
namespace {

// A standing figure tipped over.
constexpr model::TFixedModel Fallen(const model::TModel& figure) {
    return {figure.Id, model::Lying.Zoom, model::Lying.Pitch, model::Lying.Yaw};
}

struct TLyingLook {
    std::int32_t Timer;
    model::TFixedModel Figure;
};

constexpr std::array<TLyingLook, 5> kLooks{{
    {15000, Fallen(model::Parent)},
    {10000, Fallen(model::Child)},
    {30000, model::MeltedSnowman},
    {TCosNaZiemi::Never, Fallen(model::Angel)},
    {TCosNaZiemi::Never, Fallen(model::GrandfatherFrost)},
}};

}  // namespace

TCosNaZiemi::TCosNaZiemi(const TWorldContext& world, std::uint32_t kind)
    : TCos(world), Kind(kind), Timer(kind < kLooks.size() ? kLooks[kind].Timer : Never) {
    Radius = 12;
}

void TCosNaZiemi::Draw(TSurface& surface, std::int32_t camX, std::int32_t camY) const {
    if (Kind >= kLooks.size()) return;
    if (Kind == TPostac::Parent)
        DrawFigure(surface, camX, camY, Fallen(model::ParentLook(Look)));
    else if (Kind == TPostac::Child)
        DrawFigure(surface, camX, camY, Fallen(model::ChildLook(Look).Standing));
    else
        DrawFigure(surface, camX, camY, kLooks[Kind].Figure);
}

bool TCosNaZiemi::Update(std::uint32_t, std::uint32_t elapsed) {
    if (Timer == Never) return false;
    Timer = CountDown(Timer, elapsed);
    if (Timer >= 0) return false;
    Timer = RunOut;
    return true;
}

}  // namespace gb
