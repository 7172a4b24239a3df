// Drawing one 1 MB line of text with the game font on the 800 x 600 back
// surface: as one line (left and right aligned), word-wrapped in the error
// screen's box, and in a speech bubble sized to the whole text as the
// characters size theirs. Only what lies on the surface should cost time.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>

#include "runtime/gfx_font.h"
#include "runtime/platform/null/box_text_renderer.h"
#include "runtime/surface.h"

namespace {

constexpr std::size_t kLineBytes = 1 << 20;

// Words of three to nine letters between single blanks, or one word
// without any blank.
std::string HugeLine(bool blanks) {
    std::string line;
    line.reserve(kLineBytes);
    for (std::size_t word = 0; line.size() < kLineBytes; ++word) {
        line.append(3 + word % 7, static_cast<char>('a' + word % 26));
        if (blanks) line += ' ';
    }
    line.resize(kLineBytes);
    return line;
}

struct TFontRig {
    gb::TBoxTextRenderer Renderer{7, 14};
    gb::Tgfx_Font Font{bbx::TPixelFormat::Rgb565, Renderer, "Verdana", 9, gb::fsBold,
                       {bbx::RGB(128, 128, 128), bbx::RGB(255, 255, 255), bbx::RGB(0, 255, 255)}};
    gb::TSurface Back{bbx::TPixelFormat::Rgb565};
    TFontRig() { Back.SetSize(800, 600); }
};

void BM_DrawTextHugeLine(benchmark::State& state, float horizontal) {
    TFontRig rig;
    const std::string line = HugeLine(true);
    const int x = horizontal == 0 ? 5 : 795;
    for (auto _ : state) {
        rig.Font.DrawText(rig.Back, x, 300, line, horizontal, 0, 1);
        benchmark::DoNotOptimize(rig.Back.Pixel(400, 305));
    }
}

void BM_DrawTextRectHugeLine(benchmark::State& state, bool blanks) {
    TFontRig rig;
    const std::string line = HugeLine(blanks);
    for (auto _ : state) {
        rig.Font.DrawTextRect(rig.Back, {50, 50, 750, 550}, 0, line, 0, 1);
        benchmark::DoNotOptimize(rig.Back.Pixel(400, 305));
    }
}

void BM_SpeechBubbleHugeLine(benchmark::State& state) {
    TFontRig rig;
    const std::string line = HugeLine(true);
    for (auto _ : state) {
        const int w = std::min(300, rig.Font.TextWidth(line));
        const int lines = rig.Font.LineCount(w, line);
        const int bottom = 400;
        rig.Font.DrawTextRect(rig.Back, {250, bottom - lines * rig.Font.Height(), 250 + w, bottom + 1}, 0, line, 0.5f,
                              1);
        benchmark::DoNotOptimize(rig.Back.Pixel(400, 395));
    }
}

BENCHMARK_CAPTURE(BM_DrawTextHugeLine, left, 0.0f)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_DrawTextHugeLine, right, 1.0f)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_DrawTextRectHugeLine, words, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_DrawTextRectHugeLine, oneWord, false)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SpeechBubbleHugeLine)->Unit(benchmark::kMicrosecond);

}  // namespace
