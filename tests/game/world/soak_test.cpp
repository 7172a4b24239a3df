// A long run of a generated world: a thousand objects of every kind, random
// hero orders and sleigh driving, random frame times. Nothing may crash or
// leak (the sanitizer build checks), every layer must stay in order, and no
// hero may keep a target that has been freed.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>
#include <vector>

#include "core/random.h"
#include "support/world_test_support.h"
#include "world/cos_na_ziemi.h"
#include "world/efekt.h"
#include "world/murek.h"
#include "world/postac.h"
#include "world/static_cos.h"
#include "world/zaprzeg.h"

using namespace gb;
using gb::test_support::TWorldRig;

namespace {

constexpr int kMapCells = 80;
constexpr float kCell = 48;

class TSoak {
public:
    TSoak() {
        bbx::RandSeed(20241224);
        Hero.X = Hero.Y = 40 * kCell;
        Sleigh = &Rig.Add<TZaprzeg>(TLista::ObjectLayer, 42 * kCell, 40 * kCell);
        for (int house = 0; house < 8; ++house) BuildHouse(5 + house % 4 * 18, 10 + house / 4 * 40);
        int kind = 0;
        while (Rig.List.Count(TLista::ObjectLayer) < 1000) PlaceAnything(kind++);
        Rig.Game.OnSetRiding = [this](bool on) { SetRiding(on); };
        Rig.Game.OnEvent = [this](std::string_view name, std::string_view value) { Answer(name, value); };
    }

    void Frame() {
        const auto elapsed = static_cast<std::uint32_t>(bbx::Random(101));
        Now += elapsed;
        if (bbx::Random(40) == 0) Order();
        if (Sleigh->Ridden) Drive(elapsed);
        const TCos& followed = Sleigh->Ridden ? static_cast<const TCos&>(*Sleigh) : Hero;
        const std::int32_t camX = RoundToPixel(followed.X) - 400;
        const std::int32_t camY = RoundToPixel(followed.Y) - 300;
        Explosions += Rig.List.Update(Now, elapsed, camX, camY);
        if (++Frames % 100 == 0) Rig.List.Draw(Rig.Screen, camX, camY);
        Events += Rig.Game.Events.size();
        Rig.Game.Events.clear();
    }

    bool LayersSorted() const {
        for (std::int32_t layer = 0; layer < TLista::LayerCount; ++layer)
            for (std::int32_t i = 1; i < Rig.List.Count(layer); ++i)
                if (Rig.List.Item(layer, i - 1).Y > Rig.List.Item(layer, i).Y) return false;
        return true;
    }

    bool HeroTargetAlive() const {
        if (!Hero.Target) return true;
        for (std::int32_t layer = 0; layer < TLista::LayerCount; ++layer)
            for (std::int32_t i = 0; i < Rig.List.Count(layer); ++i)
                if (&Rig.List.Item(layer, i) == Hero.Target) return true;
        return false;
    }

    TWorldRig Rig{400, 0.1f};
    TBohater& Hero = Rig.Hero();
    TZaprzeg* Sleigh = nullptr;
    std::uint32_t Now = 100000;
    std::uint64_t Frames = 0;
    std::uint64_t Events = 0;
    std::uint64_t Explosions = 0;
    std::uint64_t Rides = 0;
    std::uint64_t Falls = 0;
    std::uint64_t TreesExploded = 0;

private:
    static float RandomSpot() { return static_cast<float>(bbx::RandomReal() * kMapCells * kCell); }

    void BuildHouse(int x, int y) {
        for (int i = 0; i < 6; ++i)
            for (int j = 0; j < 5; ++j)
                if ((i == 0 || i == 5 || j == 0 || j == 4) && !(i == 2 && j == 4))
                    Rig.Add<TMurek>(TLista::ObjectLayer, static_cast<float>(x + i) * kCell,
                                    static_cast<float>(y + j) * kCell);
    }

    // At a free spot, as a map maker would place things.
    void PlaceAnything(int n) {
        float x = 0;
        float y = 0;
        do {
            x = RandomSpot();
            y = RandomSpot();
        } while (Rig.List.HitTest(TLista::ObjectLayer, 30, nullptr, x, y));
        TCos* placed = nullptr;
        switch (n % 4) {
            case 0: placed = &Rig.Add<TStaticCos>(TLista::ObjectLayer, x, y, static_cast<std::uint32_t>(n / 4 % 5)); break;
            case 1: placed = &Rig.Add<TMurek>(TLista::ObjectLayer, x, y); break;
            default: placed = &Rig.Add<TPostac>(TLista::ObjectLayer, x, y, static_cast<std::uint32_t>(n % 5)); break;
        }
        placed->Id = "o" + std::to_string(n);
    }

    // Orders as the player gives them: clicks on what is on the view, Enter,
    // item keys.
    void Order() {
        Hero.Presents = bbx::Random(3);
        Hero.Rods = bbx::Random(3);
        Hero.Baubles = bbx::Random(3);
        if (Sleigh->Ridden) {
            if (Sleigh->Braking) ToggleRiding();
            return;
        }
        switch (bbx::Random(6)) {
            case 0:
                Hero.SelectItem(static_cast<std::uint32_t>(bbx::Random(4)));
                break;
            case 1:
                ToggleRiding();
                if (Hero.Command != TBohater::BoardSleigh) Hero.SetCommand(TBohater::Walk, 0, 0, Sleigh);
                break;
            case 2: {
                const float x = Hero.X + static_cast<float>(bbx::Random(800) - 400);
                const float y = Hero.Y + static_cast<float>(bbx::Random(600) - 300);
                Hero.SetCommand(static_cast<std::uint32_t>(bbx::Random(4)), RoundToPixel(x), RoundToPixel(y),
                                Rig.List.ObjectAt(TLista::ObjectLayer, x, y));
                break;
            }
            default:
                UseSomethingOnTheView();
        }
    }

    void UseSomethingOnTheView() {
        std::vector<TCos*> near;
        for (std::int32_t i = 0; i < Rig.List.Count(TLista::ObjectLayer); ++i) {
            TCos& object = Rig.List.Item(TLista::ObjectLayer, i);
            if (&object != &Hero && std::hypot(object.X - Hero.X, object.Y - Hero.Y) < 300) near.push_back(&object);
        }
        if (near.empty()) return;
        TCos* target = near[static_cast<std::size_t>(bbx::Random(static_cast<std::int32_t>(near.size())))];
        std::uint32_t item = TBohater::Hand;
        if (dynamic_cast<TStaticCos*>(target)) item = TBohater::Bauble;
        if (auto* character = dynamic_cast<TPostac*>(target); character && character->Kind == TPostac::Child)
            item = static_cast<std::uint32_t>(bbx::Random(3));
        Hero.SelectItem(item);
        Hero.SetCommand(TBohater::WalkAndUse, RoundToPixel(target->X), RoundToPixel(target->Y), target);
    }

    void ToggleRiding() {
        if (!Sleigh->Ridden) {
            if (std::hypot(Hero.X - Sleigh->X, Hero.Y - Sleigh->Y) < 200)
                Hero.SetCommand(TBohater::BoardSleigh, 0, 0, Sleigh);
        } else if (Sleigh->Speed < 0.1f) {
            SetRiding(false);
        }
    }

    // Keys held for a while, as a player drives: mostly forward, turning
    // now and then, braking to stop and get out.
    void Drive(std::uint32_t elapsed) {
        if (bbx::Random(40) == 0) {
            Pedal = bbx::Random(5) - 1;  // -1 back, 0 none, 1 .. 3 forward
            Steering = bbx::Random(3) - 1;
        }
        const auto amount = static_cast<float>(elapsed);
        if (Pedal != 0) Sleigh->Throttle(Pedal > 0 ? amount : -amount);
        if (Steering != 0) Sleigh->Turn(static_cast<float>(Steering) * amount);
        if (bbx::Random(Sleigh->Braking ? 80 : 400) == 0) Sleigh->Braking = !Sleigh->Braking;
    }

    int Pedal = 0;
    int Steering = 0;

    // What the game controller does for the hero and the sleigh.
    void SetRiding(bool on) {
        if (on) {
            ++Rides;
            Sleigh->Ridden = true;
            Hero.X = Hero.Y = 1000000;
            Hero.SetCommand(TBohater::NoCommand, 0, 0, nullptr);
            Rig.Game.FireEvent("getin", "");
            return;
        }
        const double reach = Sleigh->Radius + Hero.Radius + 1;
        for (int i = 0; i < 17; ++i) {
            const double theta = std::numbers::pi - Sleigh->Angle + i * 2 * std::numbers::pi / 16;
            const auto x = static_cast<float>(Sleigh->X + reach * std::cos(theta));
            const auto y = static_cast<float>(Sleigh->Y + reach * std::sin(theta));
            if (Rig.List.HitTest(TLista::ObjectLayer, Hero.Radius, nullptr, x, y)) continue;
            Hero.X = x;
            Hero.Y = y;
            Sleigh->Ridden = false;
            Sleigh->Speed = 0;
            Rig.Game.FireEvent("getout", "");
            return;
        }
    }

    // A script of sorts: characters near the hero speak, and now and then
    // the hero is put somewhere else.
    void Answer(std::string_view name, std::string_view value) {
        if (name == "distance" && bbx::Random(4) == 0)
            if (auto* character = dynamic_cast<TPostac*>(Rig.List.FindById(value)))
                character->Say("Wesolych Swiat!");
        if (name == "fall") ++Falls;
        if (name == "wybuch") ++TreesExploded;
        if (name == "fall" && bbx::Random(10) == 0 && !Sleigh->Ridden) {
            Hero.X = RandomSpot();
            Hero.Y = RandomSpot();
            Hero.SetCommand(TBohater::NoCommand, 0, 0, nullptr);
        }
    }
};

}  // namespace

TEST(WorldSoak, AHundredThousandFramesOfAThousandObjects) {
    TSoak soak;
    for (int frame = 0; frame < 100000; ++frame) {
        soak.Frame();
        ASSERT_TRUE(soak.LayersSorted()) << "frame " << frame;
        ASSERT_TRUE(soak.HeroTargetAlive()) << "frame " << frame;
    }
    // The run went through what it is meant to exercise.
    EXPECT_GT(soak.Events, 1000u);
    EXPECT_GT(soak.Rides, 0u);
    EXPECT_GT(soak.Falls, 0u);
    EXPECT_GT(soak.TreesExploded, 0u);
    EXPECT_GT(soak.Explosions, 0u);
    const std::vector<int> played = soak.Rig.Effects();
    const auto crashes = std::count(played.begin(), played.end(), 4);
    EXPECT_GT(crashes, 0);
    std::printf("events %llu, rides %llu, falls %llu, trees exploded %llu, explosion frames %llu, lying %d, "
                "crashes %d\n",
                static_cast<unsigned long long>(soak.Events), static_cast<unsigned long long>(soak.Rides),
                static_cast<unsigned long long>(soak.Falls), static_cast<unsigned long long>(soak.TreesExploded),
                static_cast<unsigned long long>(soak.Explosions), soak.Rig.List.Count(TLista::GroundLayer),
                static_cast<int>(crashes));
}
