#pragma once
// The three flat views of the model editing window: front (x right, y down),
// side (z right, y down) and top (x right, z down). They share one zoom and
// one pan per model axis, so they always stay aligned.

#include <QImage>
#include <QPoint>
#include <QSize>
#include <cstdint>
#include <optional>

#include "core/bbx_model.h"
#include "core/render_canvas.h"

namespace editor {

enum class TAxis { X, Y, Z };

struct TOrthoAxes {
    TAxis Horizontal;
    TAxis Vertical;
};

inline constexpr TOrthoAxes kFrontView{TAxis::X, TAxis::Y};
inline constexpr TOrthoAxes kSideView{TAxis::Z, TAxis::Y};
inline constexpr TOrthoAxes kTopView{TAxis::X, TAxis::Z};

// Pixels per model unit and the pans in pixels along each model axis.
struct TOrthoCamera {
    float Zoom = 1;
    float PanX = 0;
    float PanY = 0;
    float PanZ = 0;

    float Pan(TAxis axis) const { return axis == TAxis::X ? PanX : axis == TAxis::Y ? PanY : PanZ; }
    float& Pan(TAxis axis) { return axis == TAxis::X ? PanX : axis == TAxis::Y ? PanY : PanZ; }
};

// round(coordinate · zoom + pan) + centre, halves to even.
int ToScreen(int centre, float coordinate, float zoom, float pan);

// Each of red, green and blue becomes (value shr 1) or 128: a light tint that
// stands out on black.
bbx::TColor HighlightColor(bbx::TColor color);

// The in-between spheres of a series: the outline colour at two fifths of
// its strength, so that they show the series without competing with outlines.
bbx::TColor FaintColor(bbx::TColor color);

// Draws the whole view into the image (RGB32, the view's size): black, the
// in-between spheres of the series (faint), the axis and guide lines, every
// element's outline and centre handle in element order; the selected element
// is cross-hatched.
void PaintOrthoView(QImage& image, TOrthoAxes axes, const TOrthoCamera& camera, const bbx::Tbbx_model& model,
                    std::int32_t selected);

// The size in device pixels of a picture of that size in view pixels.
QSize DevicePixels(QSize size, double scale);

// The view of that size (in view pixels, as the pointer and the camera count
// them) drawn at `scale` device pixels per view pixel, so that it is shown
// pixel for pixel on a screen of that pixel ratio. Lines are
// max(1, floor(scale)) device pixels wide.
QImage OrthoViewImage(QSize size, double scale, TOrthoAxes axes, const TOrthoCamera& camera,
                      const bbx::Tbbx_model& model, std::int32_t selected);

// The element under the point: a centre handle wins (highest index first),
// otherwise the lowest-index element whose circle holds the point; -1 for none.
std::int32_t HitTest(QPoint point, QSize size, TOrthoAxes axes, const TOrthoCamera& camera,
                     const bbx::Tbbx_model& model);

// Where the point takes hold of one element: End 0 is a single sphere or a
// series' first end, 1 a series' second end. A centre handle comes before a
// circle, and of two circles the one whose centre is nearer.
struct TEndGrab {
    int End;
    bool OnHandle;
};
std::optional<TEndGrab> GrabEnd(QPoint point, QSize size, TOrthoAxes axes, const TOrthoCamera& camera,
                                const bbx::TSphereElement& element);

}  // namespace editor
