#pragma once
// A canvas over a pixel buffer with the drawing operations both programs
// share: pen and brush (colour and style), fill, filled ellipse and rectangle
// (right and bottom edges excluded), lines and single pixels. The renderer
// draws through it in the editor and in the game, so a model gives the same
// pixels in both.

#include <vector>

#include "core/pixel_buffer.h"
#include "core/render_canvas.h"

namespace bbx {

class TSoftwareCanvas : public TRenderCanvas {
public:
    explicit TSoftwareCanvas(TPixelBuffer& target) : Target(&target) {}

    TPixelBuffer& Buffer() const { return *Target; }

    void SetBrushStyle(TBrushStyle style) override { BrushStyle = style; }
    void SetPenColor(TColor color) override { PenColor = color; }
    void SetBrushColor(TColor color) override { BrushColor = color; }
    void SetPenStyle(TPenStyle style) { PenStyle = style; }
    TBrushStyle GetBrushStyle() const { return BrushStyle; }
    TPenStyle GetPenStyle() const { return PenStyle; }
    TColor GetPenColor() const { return PenColor; }
    TColor GetBrushColor() const { return BrushColor; }

    void Ellipse(int left, int top, int right, int bottom) override;
    // Outline with the pen, inside with the brush.
    void Rectangle(int left, int top, int right, int bottom);
    // The brush only, no outline.
    void FillRect(int left, int top, int right, int bottom);
    void Fill(TColor color) { Target->Fill(Target->MapColor(color)); }
    // A pen line from (x0, y0) up to but not including (x1, y1).
    void Line(int x0, int y0, int x1, int y1);
    void SetPixel(int x, int y, TColor color) { Target->SetPixel(x, y, Target->MapColor(color)); }

private:
    TPixelBuffer* Target;
    TBrushStyle BrushStyle = TBrushStyle::Solid;
    TPenStyle PenStyle = TPenStyle::Solid;
    TColor PenColor = 0;
    TColor BrushColor = 0xFFFFFF;
    std::vector<int> SpanStart;  // per-row spans of the last ellipse, reused
    std::vector<int> SpanEnd;
};

}  // namespace bbx
