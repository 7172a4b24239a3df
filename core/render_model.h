#pragma once
// Draws a sphere model in perspective: every sphere a filled disc in its
// colour, painted from the farthest to the nearest.

#include <cstdint>

#include "core/bbx_model.h"
#include "core/errors.h"
#include "core/render_canvas.h"

namespace bbx {

// The most spheres one render expands a model to: 2^20, a 40 MB work array,
// far beyond any figure worth drawing. A series count is a signed 32-bit
// number, so one element alone could ask for two thousand million.
inline constexpr std::int64_t kMaxRenderSpheres = 1048576;

// The number of spheres the renderer expands the model to: 1 per single
// sphere, C + 2 per series with C >= 0, none for C below -1. Exact for any
// counts; nothing is allocated.
std::int64_t RenderSphereCount(const Tbbx_model& model);

// A model that expands beyond kMaxRenderSpheres. The message names the model
// (name and ID) and the element at which the count passes the limit.
class ETooManySpheres : public Exception {
public:
    ETooManySpheres(const Tbbx_model& model, std::int32_t element, std::int64_t spheres);
    const char* ClassName() const noexcept override { return "ETooManySpheres"; }
    std::int32_t ModelId;
    std::int32_t Element;  // 0-based index of the element that passes the limit
    std::int64_t Spheres;  // the whole model's count
};

// Raises ETooManySpheres for a model RenderModel refuses; callers that want
// to report it once and draw nothing can ask before drawing.
void CheckSphereLimit(const Tbbx_model& model);

// kx turns the model about the vertical axis, ky tilts it; r is the
// projection scale (picture scale r / 1000 at depth 0). The picture centre is
// (width div 2, height div 2). A model beyond kMaxRenderSpheres raises
// ETooManySpheres before anything is allocated or drawn.
void RenderModel(const Tbbx_model& model, TRenderCanvas& canvas, std::int32_t width, std::int32_t height,
                 float kx, float ky, float r);

}  // namespace bbx
