#include "world/bohater.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "runtime/sfx.h"
#include "world/game_interface.h"
#include "world/gfx.h"
#include "world/model_ids.h"
#include "world/postac.h"
#include "world/sound_ids.h"
#include "world/static_cos.h"
#include "world/world_time.h"
#include "world/zaprzeg.h"

namespace gb {

TBohater::TBohater(const TWorldContext& world) : TCos(world) { Radius = 11; }

void TBohater::SetCommand(std::uint32_t command, std::int32_t x, std::int32_t y, TCos* target) {
    if (command == WalkAndUse && !dynamic_cast<TPostac*>(target) && !dynamic_cast<TStaticCos*>(target))
        command = Walk;
    if (command == NoCommand) Route.Clear();
    Command = command;
    TargetX = x;
    TargetY = y;
    Target = target;
}

void TBohater::SelectItem(std::uint32_t index) {
    if (index == Item) return;
    if (Command == WalkAndUse) Command = NoCommand;
    Item = index;
    World.Sfx.Play(sound::SelectItem);
}

void TBohater::Hurt() { Health = static_cast<float>(Health - 1.0); }

bool TBohater::Update(std::uint32_t now, std::uint32_t elapsed) {
    Now = now;
    Health = static_cast<float>(std::min<double>(MostHealth, Health + elapsed * 0.0005));
    StepAnimation(FrameTime, Frame, now);

    if (Command == Walk || Command == WalkAndUse || Command == BoardSleigh) {
        if (Target) {
            TargetX = RoundToPixel(Target->X);
            TargetY = RoundToPixel(Target->Y);
        }
        if (std::fabs(X - static_cast<double>(TargetX)) > 1 || std::fabs(Y - static_cast<double>(TargetY)) > 1) {
            const TPathPoint stop = Route.NextStop(World.Game.Objects(), *this, Target, Command,
                                                   static_cast<float>(TargetX), static_cast<float>(TargetY), now,
                                                   elapsed);
            Speed = 0.1f;
            Angle = static_cast<float>(-std::atan2(stop.Y - static_cast<double>(Y), stop.X - static_cast<double>(X)));
        } else {
            Speed = 0;
            Command = NoCommand;
            Route.Clear();
        }
    } else {
        Speed = 0;
    }
    return false;
}

void TBohater::Collide(TCos& other) {
    if (Command == WalkAndUse && &other == Target) {
        UseItemOn(other);
    } else if (Command == BoardSleigh && dynamic_cast<TZaprzeg*>(&other)) {
        World.Game.SetRiding(true);
    }
    if (&other != Target) Route.Bumped();
}

void TBohater::UseItemOn(TCos& target) {
    auto* character = dynamic_cast<TPostac*>(&target);
    if (Item == Hand) {
        if (IsPast(LastHitTime, 500, Now) && character && !character->Invincible) {
            LastHitTime = Now;
            character->Hit();
            World.Sfx.Play(sound::Blow);
        }
    } else if (Item == Present) {
        Gift(target, Presents, "prezent");
    } else if (Item == Rod) {
        Gift(target, Rods, "rozga");
    } else if (Item == Bauble) {
        auto* tree = dynamic_cast<TStaticCos*>(&target);
        if (Baubles <= 0 || !tree || tree->Kind != TStaticCos::ChristmasTree || tree->Fuse != TStaticCos::NotLit)
            return;
        --Baubles;
        Goodness = static_cast<float>(Goodness - 1.0);
        tree->Fuse = 3000;
        SetCommand(NoCommand, 0, 0, nullptr);
        World.Game.FireEvent("bombka", tree->Id);
        World.Sfx.Play(sound::HandOver);
        World.Sfx.Play(sound::Bauble);
    }
}

void TBohater::Gift(TCos& target, std::int32_t& stock, const char* event) {
    auto* child = dynamic_cast<TPostac*>(&target);
    if (stock <= 0 || !child || child->Kind != TPostac::Child || child->Gifted) return;
    child->Gifted = true;
    --stock;
    Goodness = static_cast<float>(Goodness + 1.0);
    SetCommand(NoCommand, 0, 0, nullptr);
    World.Game.FireEvent(event, child->Id);
    World.Sfx.Play(sound::HandOver);
}

void TBohater::Draw(TSurface& surface, std::int32_t camX, std::int32_t camY) const {
    model::TModel figure = model::Hero;
    if (Now < static_cast<std::uint32_t>(LastHitTime + 250))
        figure = model::HeroStriking;
    else if (Speed != 0)
        figure = Frame % 4 == 0 ? model::HeroStepLeft : Frame % 4 == 2 ? model::HeroStepRight : model::Hero;
    const auto yaw = static_cast<float>(Angle + std::numbers::pi / 2 + 0.01);
    DrawFigure(surface, camX, camY, figure, yaw);
}

}  // namespace gb
