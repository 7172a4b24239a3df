// Paths for the hero on a large village: 400 x 400 cells with a house of
// 6 x 6 cells (door in its right wall) every 10 cells and a tree in half
// of the cells between them, some 60,000 obstacles. Measured: building the
// finder (gathering the obstacles of its window) and the search, for a way
// across the widest window, and for a goal shut in a house without a door,
// which searches until the cap on expanded cells.
#include <benchmark/benchmark.h>

#include <memory>

#include "runtime/platform/null/box_text_renderer.h"
#include "runtime/platform/null/recording_sound_layer.h"
#include "runtime/sfx.h"
#include "world/bohater.h"
#include "world/gfx.h"
#include "world/lista.h"
#include "world/murek.h"
#include "world/path_finder.h"
#include "world/static_cos.h"
#include "world/still_game.h"

namespace {

using namespace gb;

constexpr int kCells = 400;

class TVillage {
public:
    TVillage() {
        Game.List = &List;
        std::vector<std::unique_ptr<TCos>> objects;
        auto hero = std::make_unique<TBohater>(Context);
        Hero = hero.get();
        Game.HeroObject = Hero;
        hero->X = At(2);
        hero->Y = At(2);
        objects.push_back(std::move(hero));
        const auto put = [&](std::unique_ptr<TCos> object, int column, int row) {
            object->X = At(column);
            object->Y = At(row);
            objects.push_back(std::move(object));
        };
        for (int top = 5; top + 6 < kCells; top += 10) {
            for (int left = 5; left + 6 < kCells; left += 10) {
                const bool shut = left == 205 && top == 205;
                for (int i = 0; i < 6; ++i) {
                    put(std::make_unique<TMurek>(Context), left + i, top);
                    put(std::make_unique<TMurek>(Context), left + i, top + 5);
                    if (i == 0 || i == 5) continue;
                    put(std::make_unique<TMurek>(Context), left, top + i);
                    if (shut || i != 2) put(std::make_unique<TMurek>(Context), left + 5, top + i);
                }
                for (int k = 0; k < 4; ++k)
                    put(std::make_unique<TStaticCos>(Context, TStaticCos::Tree), left + 7 + k % 2, top + 1 + k * 2);
            }
        }
        List.AddAll(std::move(objects), TLista::ObjectLayer);
    }

    static float At(int cell) { return static_cast<float>(cell * MapCellSize); }

    TBoxTextRenderer Text;
    TGfx Gfx{bbx::TPixelFormat::Rgb565, Text};
    TRecordingSoundLayer Sound;
    TSfx Sfx{Sound, "/"};
    TStillGame Game;
    TWorldContext Context{Gfx, Sfx, Game};
    TLista List{Context};
    TBohater* Hero = nullptr;
};

TVillage& Village() {
    static TVillage village;
    return village;
}

void Search(benchmark::State& state, int goalColumn, int goalRow) {
    TVillage& village = Village();
    std::size_t expanded = 0;
    bool reached = false;
    for (auto _ : state) {
        TPathFinder finder(village.List, *village.Hero, nullptr, TVillage::At(goalColumn), TVillage::At(goalRow));
        const TPath path = finder.Find();
        benchmark::DoNotOptimize(path.Waypoints.data());
        expanded = finder.Expanded();
        reached = path.ReachesGoal;
    }
    state.counters["expanded"] = static_cast<double>(expanded);
    state.counters["reached"] = reached;
    state.counters["obstacles"] = village.List.Count(TLista::ObjectLayer);
}

void BM_PathAcrossTheVillage(benchmark::State& state) { Search(state, 2 + 300, 2 + 300 + 1); }
void BM_PathIntoAShutHouse(benchmark::State& state) { Search(state, 207, 207); }

BENCHMARK(BM_PathAcrossTheVillage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PathIntoAShutHouse)->Unit(benchmark::kMillisecond);

}  // namespace
