#include "flow/intro.h"

#include <algorithm>

#include "core/random.h"
#include "runtime/display.h"
#include "runtime/game_canvas.h"
#include "runtime/sfx.h"
#include "runtime/surface.h"

namespace gb {
namespace {

constexpr std::size_t kCellCount = static_cast<std::size_t>(TIntro::Width) * TIntro::Height;
constexpr int kPicksPerMillisecond = 50;
// After this many picks a cell is left uncovered with a chance of e^-50: a
// frame after a long stall ends here instead of looping for minutes.
constexpr std::uint64_t kMostPicks = kPicksPerMillisecond * kCellCount;
constexpr bbx::TColor kCellColor = bbx::RGB(0, 255, 0);

}  // namespace

TIntro::TIntro(const TScreenServices& services)
    : Services(services), AliveCells(kCellCount), RevealedCells(kCellCount) {
    Reset();
    TSoundLayer& sound = Services.Sfx.Layer();
    Sample = sound.LoadSample(Services.Directory + "sfx/intro.wav");
    Channel = sound.PlaySample(Sample);
}

TIntro::~TIntro() {
    TSoundLayer& sound = Services.Sfx.Layer();
    sound.StopChannel(Channel);
    sound.FreeSample(Sample);
}

void TIntro::Reset() {
    std::fill(AliveCells.begin(), AliveCells.end(), 0);
    std::fill(RevealedCells.begin(), RevealedCells.end(), 0);
    Seed();
    Smooth();
}

void TIntro::Seed() {
    TSurface picture(Services.Display);
    picture.SetSize(Width, Height);
    picture.Fill(0);
    TGameCanvas& canvas = picture.Canvas();
    canvas.SetBrushStyle(bbx::TBrushStyle::Clear);
    canvas.SetFontName("Verdana");
    canvas.SetFontSize(30);
    canvas.SetFontStyle(fsBold);
    canvas.SetFontColor(bbx::RGB(255, 255, 255));
    canvas.TextOut(Width / 2 - canvas.TextWidth(CreditLine) / 2, Height / 2 - canvas.TextHeight(CreditLine) / 2,
                   CreditLine);
    picture.ReleaseCanvas();

    // Text pixels come alive with a chance of 0.85, the rest with 0.25.
    for (std::int32_t row = 0; row < Height; ++row)
        for (std::int32_t column = 0; column < Width; ++column) {
            const double chance = bbx::RandomReal();
            const bool text = picture.Pixel(column, row) != 0;
            AliveAt(column, row) = (text ? chance <= 0.85 : chance > 0.75) ? 1 : 0;
        }
}

std::int32_t& TIntro::AliveAt(std::int32_t column, std::int32_t row) {
    return AliveCells[static_cast<std::size_t>(column + row * Width)];
}

std::int32_t TIntro::AliveOrDark(std::int32_t column, std::int32_t row) const {
    if (column < 0 || column >= Width || row < 0 || row >= Height) return 0;
    return AliveCells[static_cast<std::size_t>(column + row * Width)];
}

void TIntro::Smooth() {
    // In place: the cells above and to the left already hold their new values.
    for (std::int32_t row = 0; row < Height; ++row)
        for (std::int32_t column = 0; column < Width; ++column) {
            const std::int32_t neighbours = AliveOrDark(column, row - 1) + AliveOrDark(column, row + 1) +
                                            AliveOrDark(column - 1, row) + AliveOrDark(column + 1, row);
            if (neighbours < 2)
                AliveAt(column, row) = 0;
            else if (neighbours > 2)
                AliveAt(column, row) = 1;
        }
}

void TIntro::Update(std::uint32_t, std::uint32_t elapsed) {
    if (elapsed < 1) return;
    const std::uint64_t picks =
        std::min<std::uint64_t>((std::uint64_t{elapsed} - 1) * kPicksPerMillisecond + 1, kMostPicks);
    for (std::uint64_t pick = 0; pick < picks; ++pick)
        RevealedCells[static_cast<std::size_t>(bbx::Random(static_cast<std::int32_t>(kCellCount)))] = 1;
}

TScreenResult TIntro::Advance(std::uint32_t now, std::uint32_t elapsed) {
    Update(now, elapsed);
    return TScreenResult::Stay;
}

TScreenResult TIntro::KeyPressed(TVirtualKey&, TShiftState) { return TScreenResult::OpenMenu; }

void TIntro::Draw(TSurface& target) {
    TGameCanvas& canvas = target.Canvas();
    canvas.SetPenStyle(bbx::TPenStyle::Solid);
    canvas.SetPenColor(kCellColor);
    canvas.SetBrushStyle(bbx::TBrushStyle::Solid);
    canvas.SetBrushColor(kCellColor);
    for (std::int32_t row = 0; row < Height; ++row)
        for (std::int32_t column = 0; column < Width; ++column) {
            const auto cell = static_cast<std::size_t>(column + row * Width);
            if (!AliveCells[cell] || !RevealedCells[cell]) continue;
            const int left = CellPitch * column, top = CellPitch * row;
            canvas.Rectangle(left, top, left + CellSize, top + CellSize);
        }
    target.ReleaseCanvas();
}

}  // namespace gb
