#include "runtime/gfx_matrix.h"

#include <algorithm>

#include "core/rounding.h"
#include "runtime/game_canvas.h"
#include "runtime/surface.h"

namespace gb {
namespace {

unsigned ClampChannel(unsigned channel, std::int32_t delta) {
    return static_cast<unsigned>(std::clamp<std::int64_t>(std::int64_t{channel} + delta, 0, 255));
}

// Steps of the walker's eight directions, clockwise from up.
constexpr std::int32_t StepX[8] = {0, 1, 1, 1, 0, -1, -1, -1};
constexpr std::int32_t StepY[8] = {-1, -1, 0, 1, 1, 1, 0, -1};

}  // namespace

void Tgfx_Matrix::SetSize(std::int32_t width, std::int32_t height) {
    Width = std::max(width, 0);
    Height = std::max(height, 0);
    Pixels.clear();
    Pixels.shrink_to_fit();
    if (!IsEmpty()) Pixels.assign(static_cast<std::size_t>(Width) * static_cast<std::size_t>(Height), 0);
}

bbx::TColor Tgfx_Matrix::GetPixel(std::int32_t x, std::int32_t y) const {
    if (x < 0 || y < 0 || x >= Width || y >= Height) return 0;
    return Pixels[static_cast<std::size_t>(x) + static_cast<std::size_t>(y) * Width];
}

void Tgfx_Matrix::SetPixel(std::int32_t x, std::int32_t y, bbx::TColor color) {
    if (x < 0 || y < 0 || x >= Width || y >= Height) return;
    Pixels[static_cast<std::size_t>(x) + static_cast<std::size_t>(y) * Width] = color;
}

void Tgfx_Matrix::Brighten(std::int32_t x, std::int32_t y, std::int32_t delta) {
    const bbx::TColor c = GetPixel(x, y);
    SetPixel(x, y,
             bbx::RGB(ClampChannel(bbx::GetRValue(c), delta), ClampChannel(bbx::GetGValue(c), delta),
                      ClampChannel(bbx::GetBValue(c), delta)));
}

void Tgfx_Matrix::BrightenAll(std::int32_t delta) {
    for (std::int32_t y = 0; y < Height; ++y)
        for (std::int32_t x = 0; x < Width; ++x) Brighten(x, y, delta);
}

void Tgfx_Matrix::Bevel(std::int32_t inner, std::int32_t edge, std::int32_t width) {
    if (width <= 0) return;
    const auto shade = [&](std::int32_t x, std::int32_t y) {
        if (x < 0 || y < 0 || x >= Width || y >= Height) return;
        // The nearest edge, in the order left, right, top, bottom; a later
        // one wins only when strictly nearer.
        std::int32_t distance = x;
        bool far = false;  // right or bottom
        const auto nearer = [&](std::int32_t d, bool isFar) {
            if (d >= distance) return;
            distance = d;
            far = isFar;
        };
        nearer(Width - x - 1, true);
        nearer(y, false);
        nearer(Height - y - 1, true);
        const float f = width == 1 ? 0.0f : static_cast<float>(distance) / static_cast<float>(width - 1);
        const long double mixed = static_cast<long double>(f) * inner + (1 - static_cast<long double>(f)) * edge;
        const auto delta = static_cast<std::int32_t>(bbx::RoundHalfEven(mixed));
        Brighten(x, y, far ? -delta : delta);
    };
    for (std::int32_t y = 0; y < Height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) shade(x, y);
        for (std::int32_t x = Width - width; x < Width; ++x) shade(x, y);
    }
    if (Width - width - 1 < width) return;
    for (std::int32_t x = width; x <= Width - width - 1; ++x) {
        for (std::int32_t y = 0; y < width; ++y) shade(x, y);
        for (std::int32_t y = Height - width; y < Height; ++y) shade(x, y);
    }
}

void Tgfx_Matrix::NoiseWalk(std::int32_t kind, std::int32_t amount, const TRandomInt& random) {
    if (IsEmpty() || amount <= 0) return;
    std::int32_t x = random(Width);
    std::int32_t y = random(Height);
    std::int32_t direction = random(8);
    const bool red = kind == 0 || kind == 1, green = kind == 0 || kind == 2, blue = kind == 0 || kind == 3;
    const std::int64_t steps = std::int64_t{Width} * Height * amount;
    for (std::int64_t i = 0; i < steps; ++i) {
        direction += random(3) - 1;
        if (direction < 0) direction = 7;
        if (direction > 7) direction = 0;
        x = (x + StepX[direction] + Width) % Width;
        y = (y + StepY[direction] + Height) % Height;
        bbx::TColor& c = Pixels[static_cast<std::size_t>(x) + static_cast<std::size_t>(y) * Width];
        unsigned r = bbx::GetRValue(c), g = bbx::GetGValue(c), b = bbx::GetBValue(c);
        if (red && r < 255) ++r;
        if (green && g < 255) ++g;
        if (blue && b < 255) ++b;
        c = bbx::RGB(r, g, b);
    }
}

void Tgfx_Matrix::AddNoise(bbx::TColor color, const TRandomInt& random) {
    const auto r = static_cast<std::int32_t>(bbx::GetRValue(color));
    const auto g = static_cast<std::int32_t>(bbx::GetGValue(color));
    const auto b = static_cast<std::int32_t>(bbx::GetBValue(color));
    if (r == g && g == b) {
        NoiseWalk(0, r, random);
        return;
    }
    NoiseWalk(1, r, random);
    NoiseWalk(2, g, random);
    NoiseWalk(3, b, random);
}

void Tgfx_Matrix::CopyFrom(const Tgfx_Matrix& other) {
    Width = other.Width;
    Height = other.Height;
    Pixels = other.Pixels;
}

void Tgfx_Matrix::DrawTo(TSurface& surface, std::int32_t x, std::int32_t y) const {
    TGameCanvas& canvas = surface.Canvas();
    for (std::int32_t row = 0; row < Height; ++row)
        for (std::int32_t column = 0; column < Width; ++column) canvas.SetPixel(x + column, y + row, GetPixel(column, row));
    surface.ReleaseCanvas();
}

void TileDraw(TSurface& target, const TSurface& source, const TRect& targetRect, bool transparent,
              const TRect& sourceRect) {
    const int tileW = sourceRect.Width(), tileH = sourceRect.Height();
    const TRect visible = Intersect(targetRect, target.ClientRect());
    if (tileW <= 0 || tileH <= 0 || visible.IsEmpty()) return;
    // Tiles wholly outside the target surface are skipped, keeping the
    // tiling anchored at the rectangle's corner.
    const auto firstTile = [](int from, int visibleFrom, int tile) {
        return static_cast<int>(from + (std::int64_t{visibleFrom} - from) / tile * tile);
    };
    const int firstX = firstTile(targetRect.Left, visible.Left, tileW);
    const int firstY = firstTile(targetRect.Top, visible.Top, tileH);
    for (int y = firstY; y < visible.Bottom; y += tileH) {
        const int h = std::min(tileH, targetRect.Bottom - y);
        for (int x = firstX; x < visible.Right; x += tileW) {
            const int w = std::min(tileW, targetRect.Right - x);
            target.Draw(x, y, source, Bounds(sourceRect.Left, sourceRect.Top, w, h), transparent);
        }
    }
}

}  // namespace gb
