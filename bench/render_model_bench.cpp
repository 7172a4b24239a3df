// Rendering a model of N spheres into a 128 x 128 canvas, as the sprite bank
// does on a cache miss.
#include <benchmark/benchmark.h>

#include <random>

#include "core/pixel_buffer.h"
#include "core/render_model.h"
#include "core/software_canvas.h"

namespace {

// Spheres spread and sized like a standing figure of the game (about 55 x 90
// pixels at zoom 180), so the pixel coverage matches a real sprite.
bbx::Tbbx_model RandomModel(int spheres) {
    std::mt19937 random(42);
    std::uniform_real_distribution<float> across(-150, 150), height(-250, 250), radius(10, 35);
    std::uniform_int_distribution<std::uint32_t> colour(0, 0xFFFFFF);
    bbx::Tbbx_model m;
    for (int i = 0; i < spheres; ++i)
        m.AddElement(bbx::MakeSphere(colour(random), across(random), height(random), across(random), radius(random)));
    return m;
}

void BM_RenderModel(benchmark::State& state, bbx::TPixelFormat format) {
    const bbx::Tbbx_model model = RandomModel(static_cast<int>(state.range(0)));
    bbx::TPixelBuffer buffer(128, 128, format);
    bbx::TSoftwareCanvas canvas(buffer);
    for (auto _ : state) {
        buffer.Fill(0);
        bbx::RenderModel(model, canvas, 128, 128, 0.3f, 0.3f, 180);
        benchmark::DoNotOptimize(buffer.GetPixel(64, 64));
    }
}

BENCHMARK_CAPTURE(BM_RenderModel, 16bit, bbx::TPixelFormat::Rgb565)->Arg(50)->Arg(200)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_RenderModel, 32bit, bbx::TPixelFormat::Xrgb8888)->Arg(50)->Arg(200)->Arg(1000)->Unit(benchmark::kMicrosecond);

}  // namespace
