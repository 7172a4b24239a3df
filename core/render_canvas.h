#pragma once
// What the sphere renderer needs of a drawing surface.

#include <cstdint>

namespace bbx {

// Colour value: red in the lowest byte, then green, then blue.
using TColor = std::uint32_t;

constexpr TColor RGB(unsigned r, unsigned g, unsigned b) {
    return TColor(r & 0xFF) | TColor(g & 0xFF) << 8 | TColor(b & 0xFF) << 16;
}
constexpr unsigned GetRValue(TColor c) { return c & 0xFF; }
constexpr unsigned GetGValue(TColor c) { return (c >> 8) & 0xFF; }
constexpr unsigned GetBValue(TColor c) { return (c >> 16) & 0xFF; }

enum class TBrushStyle { Solid, Clear };
enum class TPenStyle { Solid, Clear };

class TRenderCanvas {
public:
    virtual ~TRenderCanvas() = default;
    virtual void SetBrushStyle(TBrushStyle style) = 0;
    virtual void SetPenColor(TColor color) = 0;
    virtual void SetBrushColor(TColor color) = 0;
    // Filled ellipse inside the box; the right and bottom edges are excluded.
    virtual void Ellipse(int left, int top, int right, int bottom) = 0;
};

}  // namespace bbx
