// One frame of a crowded world: TLista.Update and TLista.Draw with 500
// objects on the 800 x 600 view (scenery, walls, characters walking about,
// the sleigh), every sprite already in the cache.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "core/random.h"
#include "runtime/platform/null/box_text_renderer.h"
#include "runtime/platform/null/recording_sound_layer.h"
#include "runtime/sfx.h"
#include "world/bohater.h"
#include "world/gfx.h"
#include "world/lista.h"
#include "world/murek.h"
#include "world/postac.h"
#include "world/static_cos.h"
#include "world/still_game.h"
#include "world/zaprzeg.h"

namespace {

using namespace gb;

// A walled arena the size of the view, so that walkers stay on it.
class TCrowd {
public:
    static constexpr int ObjectsOnView = 500;

    TCrowd() {
        bbx::RandSeed(5);
        Gfx.Initialize(BBX_MODELS_DIRECTORY);
        Game.List = &List;
        auto hero = std::make_unique<TBohater>(Context);
        Game.HeroObject = hero.get();
        Add(std::move(hero), 400, 300);
        for (int x = 0; x <= 800; x += 48) {
            Add(std::make_unique<TMurek>(Context), static_cast<float>(x), 0);
            Add(std::make_unique<TMurek>(Context), static_cast<float>(x), 600);
        }
        for (int y = 48; y < 600; y += 48) {
            Add(std::make_unique<TMurek>(Context), 0, static_cast<float>(y));
            Add(std::make_unique<TMurek>(Context), 800, static_cast<float>(y));
        }
        Add(std::make_unique<TZaprzeg>(Context), 400, 400);
        for (int n = 0; List.Count(TLista::ObjectLayer) < ObjectsOnView; ++n) {
            const auto x = static_cast<float>(40 + bbx::Random(720));
            const auto y = static_cast<float>(40 + bbx::Random(520));
            if (n % 3 == 0)
                Add(std::make_unique<TPostac>(Context, static_cast<std::uint32_t>(n / 3 % 5)), x, y);
            else
                Add(std::make_unique<TStaticCos>(Context, static_cast<std::uint32_t>(n % 5 == 3 ? 0 : n % 5)), x, y);
        }
        Screen.SetSize(800, 600);
        // Every heading that parents, children and snowmen can be drawn at,
        // within the angle tolerance, has its sprite before anything is
        // measured (a bounce can leave a heading far below 0 until the next
        // frame normalises it).
        for (const std::int32_t model : {9, 10, 11, 12, 13, 14, 25})
            for (float yaw = -6.0f; yaw < 9.2f; yaw += 0.2f) Gfx.DrawModel(Screen, 0, 0, 0, model, yaw, 0.3f, 180);
        for (int frame = 0; frame < 1000; ++frame) Frame();
    }

    void Update() {
        Now += 16;
        List.Update(Now, 16, 0, 0);
    }
    void Draw() { List.Draw(Screen, 0, 0); }
    void Frame() {
        Update();
        Draw();
    }

    std::int32_t Rendered() const { return Gfx.NextSlot; }

private:
    TCos& Add(std::unique_ptr<TCos> object, float x, float y) {
        object->X = x;
        object->Y = y;
        return List.Add(std::move(object), TLista::ObjectLayer);
    }

    TBoxTextRenderer Text;
    // Room for every (model, angle) pair of the crowd, so that nothing is
    // rendered again while measuring.
    TGfx Gfx{bbx::TPixelFormat::Rgb565, Text, 1000};
    TRecordingSoundLayer Sound;
    TSfx Sfx{Sound, "/"};
    TStillGame Game;
    TWorldContext Context{Gfx, Sfx, Game};
    TLista List{Context};
    TSurface Screen{bbx::TPixelFormat::Rgb565};
    std::uint32_t Now = 100000;
};

TCrowd& Crowd() {
    static TCrowd crowd;
    return crowd;
}

void CheckCached(benchmark::State& state, std::int32_t before) {
    if (Crowd().Rendered() != before) state.SkipWithError("sprites were rendered while measuring");
}

void BM_ListaUpdate(benchmark::State& state) {
    TCrowd& crowd = Crowd();
    for (auto _ : state) crowd.Update();
}

void BM_ListaDraw(benchmark::State& state) {
    TCrowd& crowd = Crowd();
    const std::int32_t before = crowd.Rendered();
    for (auto _ : state) crowd.Draw();
    CheckCached(state, before);
}

void BM_ListaUpdateAndDraw(benchmark::State& state) {
    TCrowd& crowd = Crowd();
    const std::int32_t before = crowd.Rendered();
    for (auto _ : state) crowd.Frame();
    state.counters["sprites"] = crowd.Rendered();
    CheckCached(state, before);
}

BENCHMARK(BM_ListaUpdate)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ListaDraw)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ListaUpdateAndDraw)->Unit(benchmark::kMicrosecond);

}  // namespace
