// Composing one full 800 x 600 frame on the back surface: the ground in
// opaque 48 x 48 tiles, then 100 colour-keyed 64 x 64 sprites, as a game
// frame does, in both display depths.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "runtime/game_canvas.h"
#include "runtime/gfx_matrix.h"
#include "runtime/surface.h"

namespace {

void BM_ComposeFrame(benchmark::State& state, bbx::TPixelFormat format) {
    gb::TSurface back(format), tile(format), sprite(format);
    back.SetSize(800, 600);
    gb::Tgfx_Matrix grain;
    grain.SetSize(48, 48);
    grain.AddNoise(bbx::RGB(220, 220, 220), [random = std::mt19937(7)](std::int32_t n) mutable {
        return std::uniform_int_distribution<std::int32_t>(0, n - 1)(random);
    });
    tile.SetSize(48, 48);
    grain.DrawTo(tile, 0, 0);
    // A disc on the key colour, like a rendered sphere model.
    sprite.SetSize(64, 64);
    sprite.Fill(0);
    sprite.Canvas().SetBrushColor(bbx::RGB(200, 60, 40));
    sprite.Canvas().SetPenColor(bbx::RGB(90, 20, 10));
    sprite.Canvas().Ellipse(4, 2, 60, 62);
    sprite.ReleaseCanvas();

    std::mt19937 random(42);
    std::uniform_int_distribution<int> x(-32, 800 - 32), y(-32, 600 - 32);
    std::vector<std::pair<int, int>> places(100);
    for (auto& p : places) p = {x(random), y(random)};

    for (auto _ : state) {
        for (int ty = 0; ty < 600; ty += 48)
            for (int tx = 0; tx < 800; tx += 48) back.Draw(tx, ty, tile, tile.ClientRect(), false);
        for (const auto& [px, py] : places) back.Draw(px, py, sprite, sprite.ClientRect(), true);
        benchmark::DoNotOptimize(back.Pixel(400, 300));
    }
}

BENCHMARK_CAPTURE(BM_ComposeFrame, 16bit, bbx::TPixelFormat::Rgb565)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ComposeFrame, 32bit, bbx::TPixelFormat::Xrgb8888)->Unit(benchmark::kMicrosecond);

}  // namespace
