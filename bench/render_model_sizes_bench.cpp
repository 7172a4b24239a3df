// RenderModel from a figure's size up to far beyond it: the painter's order
// costs n log n, so ten times the spheres should cost little more than ten
// times the time. And one sphere at the eye, whose disc box reaches 1e8
// pixels each way.
#include <benchmark/benchmark.h>

#include <random>

#include "core/pixel_buffer.h"
#include "core/render_model.h"
#include "core/software_canvas.h"

namespace {

// Series of ten spheres each (C = 8) between random ends, spread like a
// standing figure at zoom 180 on a 128 x 128 sprite.
bbx::Tbbx_model SeriesModel(int spheres) {
    std::mt19937 random(7);
    // x, y, z and radius of each end, in a fixed order so that every compiler
    // builds the same model.
    constexpr float low[4] = {-150, -250, -150, 10}, high[4] = {150, 250, 150, 35};
    bbx::Tbbx_model m;
    for (int made = 0; made < spheres; made += 10) {
        const auto colour = static_cast<std::uint32_t>(random() & 0xFFFFFF) | 1;
        float v[8];
        for (int k = 0; k < 8; ++k) v[k] = std::uniform_real_distribution<float>(low[k % 4], high[k % 4])(random);
        m.AddElement(bbx::MakeSeries(colour, 8, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]));
    }
    return m;
}

void BM_RenderModelSpheres(benchmark::State& state) {
    const bbx::Tbbx_model model = SeriesModel(static_cast<int>(state.range(0)));
    bbx::TPixelBuffer buffer(128, 128, bbx::TPixelFormat::Xrgb8888);
    bbx::TSoftwareCanvas canvas(buffer);
    for (auto _ : state) {
        buffer.Fill(0);
        bbx::RenderModel(model, canvas, 128, 128, 0.3f, 0.3f, 180);
        benchmark::DoNotOptimize(buffer.GetPixel(64, 64));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(BM_RenderModelSpheres)->Arg(200)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

void BM_SphereAtTheEye(benchmark::State& state) {
    // Depth 1000 - 999.999 = 0.001 in front of the eye: the box is clamped
    // to +-1e8 around a 100 x 100 picture.
    bbx::Tbbx_model model;
    model.AddElement(bbx::MakeSphere(0x00FF00, 0, 0, 999.999f, 50));
    bbx::TPixelBuffer buffer(100, 100, bbx::TPixelFormat::Rgb565);
    bbx::TSoftwareCanvas canvas(buffer);
    for (auto _ : state) {
        bbx::RenderModel(model, canvas, 100, 100, 0, 0, 1250);
        benchmark::DoNotOptimize(buffer.GetPixel(50, 50));
    }
}

BENCHMARK(BM_SphereAtTheEye)->Unit(benchmark::kMicrosecond);

}  // namespace
