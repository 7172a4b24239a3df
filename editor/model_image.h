#pragma once
// The picture RenderModel draws of a model, on the same software canvas the
// game's sprites are drawn on, as an image Qt can show.

#include <QImage>
#include <QRect>

#include "core/bbx_model.h"
#include "core/render_canvas.h"

namespace editor {

struct TRenderView {
    int Width = 0;
    int Height = 0;
    float KX = 0;
    float KY = 0;
    float R = 0;
};

// The part `area` of the view's Width × Height picture (centre at Width div 2,
// Height div 2), filled with the background and, when a model is given, with
// the model drawn over it; a model the renderer refuses (too many spheres)
// leaves the background alone.
QImage RenderModelImage(const bbx::Tbbx_model* model, const TRenderView& view, bbx::TColor background, QRect area);

}  // namespace editor
