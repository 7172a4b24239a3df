#include "world/postac.h"

#include <algorithm>
#include <array>
#include <limits>
#include <numbers>
#include <utility>

#include "core/random.h"
#include "runtime/gfx_matrix.h"
#include "runtime/sfx.h"
#include "world/bohater.h"
#include "world/game_interface.h"
#include "world/gfx.h"
#include "world/model_ids.h"
#include "world/sound_ids.h"
#include "world/world_time.h"

namespace gb {
namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

struct TCharacterKind {
    std::int32_t HitPoints;
    float Speed;
    bool FixedFacing;
    float Facing;
    bool Invincible;
};

constexpr std::array<TCharacterKind, 5> kKinds{{
    {4, 0, false, 0, false},             // parent
    {1, 0.075f, false, 0, false},        // child
    {3, 0.05f, false, 0, false},         // snowman
    {10, 0, true, 0.62831855f, true},    // angel
    {10, 0, true, -0.62831855f, true},   // grandfather frost
}};

constexpr TCharacterKind kUnknownKind{1, 0, false, 0, false};

float RandomHeading() { return static_cast<float>(bbx::RandomReal() * kTwoPi); }

}  // namespace

TPostac::TPostac(const TWorldContext& world, std::uint32_t kind) : TCos(world), Kind(kind) {
    const TCharacterKind& values = kind < kKinds.size() ? kKinds[kind] : kUnknownKind;
    Radius = 12;
    Angle = RandomHeading();
    Facing = RandomHeading();
    if (values.FixedFacing) Facing = values.Facing;
    HitPoints = values.HitPoints;
    Speed = values.Speed;
    Invincible = values.Invincible;
}

void TPostac::Hit() {
    if (!Invincible) HitPoints = static_cast<std::int32_t>(static_cast<std::uint32_t>(HitPoints) - 1u);
}

void TPostac::Say(std::string text) {
    const std::int64_t time = std::int64_t{100} * static_cast<std::int64_t>(text.size());
    SpeechTime = static_cast<std::int32_t>(std::min<std::int64_t>(time, std::numeric_limits<std::int32_t>::max()));
    Speech = std::move(text);
}

bool TPostac::Update(std::uint32_t now, std::uint32_t elapsed) {
    Now = now;
    if (!Speech.empty()) {
        SpeechTime = CountDown(SpeechTime, elapsed);
        if (SpeechTime <= 0) {
            Speech.clear();
            World.Game.FireEvent("dialogend", Id);
        }
    }
    if ((Kind == Child || Kind == Parent) && IsPast(NextTurnTime, 3000, now)) {
        NextTurnTime = now + static_cast<std::uint32_t>(bbx::Random(3000));
        const double r = bbx::RandomReal();
        if (Kind == Child)
            Angle = static_cast<float>(Angle + r * 2 - 1);
        else
            Facing = static_cast<float>(r * kTwoPi);
    }
    StepAnimation(FrameTime, Frame, now);

    if (HitPoints > 0) return false;
    if (Kind == Parent || Kind == Child) {
        TBohater& hero = World.Game.Hero();
        hero.Goodness = static_cast<float>(hero.Goodness - 1.0);
    }
    return true;
}

void TPostac::Bounce() {
    LastBounceTime = Now;
    Angle = static_cast<float>(bbx::RandomReal() * 2 - Angle - 1);
}

void TPostac::Collide(TCos& other) {
    if (Kind == Child) {
        if (IsPast(LastBounceTime, 200, Now)) Bounce();
    } else if (Kind == Snowman) {
        TBohater& hero = World.Game.Hero();
        if (IsPast(LastBounceTime, 200, Now) && &other == &hero && IsPast(LastAttackTime, 500, Now)) {
            hero.Hurt();
            LastAttackTime = Now;
            World.Sfx.Play(sound::Blow);
        }
    } else {
        Bounce();
    }
}

void TPostac::Draw(TSurface& surface, std::int32_t camX, std::int32_t camY) const {
    const auto heading = static_cast<float>(Angle + std::numbers::pi / 2);
    const std::int32_t step = Frame % 4;
    switch (Kind) {
        case Parent:
            DrawFigure(surface, camX, camY, model::ParentLook(Look), Facing);
            break;
        case Child: {
            const model::TWalker& look = model::ChildLook(Look);
            model::TModel figure = look.Standing;
            if (Speed != 0 && step == 0)
                figure = look.StepLeft;
            else if (Speed != 0 && step == 2)
                figure = look.StepRight;
            DrawFigure(surface, camX, camY, figure, heading);
            break;
        }
        case Snowman: {
            model::TModel figure = model::Snowman;
            if (Now < static_cast<std::uint32_t>(LastAttackTime + 250))
                figure = model::SnowmanAttack;
            else if (Speed != 0 && (step == 0 || step == 1))
                figure = model::SnowmanHop;
            DrawFigure(surface, camX, camY, figure, heading);
            break;
        }
        case Angel:
            DrawFigure(surface, camX, camY, model::Angel, Facing);
            break;
        case GrandfatherFrost:
            DrawFigure(surface, camX, camY, model::GrandfatherFrost, Facing);
            break;
        default:
            break;
    }
}

TRect TPostac::SpeechRect(std::int32_t camX, std::int32_t camY) const {
    const Tgfx_Font& font = World.Gfx.Font;
    const int w = std::min(300, font.TextWidth(Speech));
    const int n = font.LineCount(w, Speech);
    const int h = font.Height();
    const int left = ScreenX(camX) - w / 2;
    const int top = ScreenY(camY) - n * h - 5 * Radius - 1;
    return Bounds(left, top, w, n * h + 1);
}

void TPostac::DrawSpeech(TSurface& surface, const TRect& bubble) const {
    TileDraw(surface, World.Gfx.GreyImage, bubble, false, World.Gfx.GreyImage.ClientRect());
    World.Gfx.Font.DrawTextRect(surface, bubble, 0, Speech, 0.5f, 1);
}

}  // namespace gb
