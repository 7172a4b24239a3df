#pragma once
// Draws a sphere model in perspective: every sphere a filled disc in its
// colour, painted from the farthest to the nearest.

#include <cstdint>

#include "core/bbx_model.h"
#include "core/render_canvas.h"

namespace bbx {

// kx turns the model about the vertical axis, ky tilts it; r is the
// projection scale (picture scale r / 1000 at depth 0). The picture centre is
// (width div 2, height div 2).
void RenderModel(const Tbbx_model& model, TRenderCanvas& canvas, std::int32_t width, std::int32_t height,
                 float kx, float ky, float r);

}  // namespace bbx
