#pragma once
// SVG pictures of a rendered model: one ellipse per disc.

#include <string>
#include <vector>

#include "core/render_canvas.h"

namespace bbx::tool {

// Records the discs the renderer draws, in drawing order.
class SvgCanvas : public TRenderCanvas {
public:
    SvgCanvas(int width, int height) : Width(width), Height(height) {}
    void SetBrushStyle(TBrushStyle) override {}
    void SetPenColor(TColor) override {}
    void SetBrushColor(TColor color) override { Brush = color; }
    void Ellipse(int left, int top, int right, int bottom) override;
    std::string Document() const;

private:
    struct Disc {
        int Left, Top, Right, Bottom;
        TColor Color;
    };
    int Width, Height;
    TColor Brush = 0;
    std::vector<Disc> Discs;
};

}  // namespace bbx::tool
