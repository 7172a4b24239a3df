#pragma once
// The pixel matrix in which the game's flat images are made (grain, bevels,
// brightening) before they are written into a surface, and TileDraw, which
// repeats a small image over a larger rectangle.

#include <cstdint>
#include <functional>
#include <vector>

#include "core/random.h"
#include "core/render_canvas.h"
#include "runtime/rect.h"

namespace gb {

class TSurface;

// A uniform integer 0 .. n - 1: the program's generator unless a test
// scripts its own.
using TRandomInt = std::function<std::int32_t(std::int32_t n)>;

class Tgfx_Matrix {
public:
    // Empty sizes (0 or below in either direction) leave no pixels; a new
    // size starts black.
    void SetSize(std::int32_t width, std::int32_t height);
    bool IsEmpty() const { return Width == 0 || Height == 0; }
    std::int32_t GetWidth() const { return Width; }
    std::int32_t GetHeight() const { return Height; }

    // Outside the matrix a read gives black and a write does nothing.
    bbx::TColor GetPixel(std::int32_t x, std::int32_t y) const;
    void SetPixel(std::int32_t x, std::int32_t y, bbx::TColor color);

    // Adds delta to red, green and blue, each clamped to 0 .. 255.
    void Brighten(std::int32_t x, std::int32_t y, std::int32_t delta);
    void BrightenAll(std::int32_t delta);
    // A border `width` pixels wide: the full edge delta at the rim, the inner
    // delta at its inner end, negated on the right and bottom sides. A border
    // of width 1 is the rim drawn with the edge delta.
    void Bevel(std::int32_t inner, std::int32_t edge, std::int32_t width);
    // A walker wandering over the matrix (wrapping at the edges) for
    // Width x Height x amount steps, adding 1 to the channels of `kind`
    // (0 all, 1 red, 2 green, 3 blue) of every pixel it steps on.
    void NoiseWalk(std::int32_t kind, std::int32_t amount, const TRandomInt& random = bbx::Random);
    // Grain whose average approaches the colour, starting from black.
    void AddNoise(bbx::TColor color, const TRandomInt& random = bbx::Random);
    // This matrix becomes a copy of the other one, size included.
    void CopyFrom(const Tgfx_Matrix& other);
    // Every pixel to (x + column, y + row) through the surface's canvas.
    void DrawTo(TSurface& surface, std::int32_t x, std::int32_t y) const;

private:
    std::vector<bbx::TColor> Pixels;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
};

// Covers the target rectangle with copies of the source rectangle, starting
// at its top-left corner; the last column and row are cut at the
// rectangle's right and bottom edges.
void TileDraw(TSurface& target, const TSurface& source, const TRect& targetRect, bool transparent,
              const TRect& sourceRect);

}  // namespace gb
