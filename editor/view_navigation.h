#pragma once
// Moving about in the views of the model editing window: the wheel's zoom
// about the pointer, panning by the pointer's way, and the zoom, pans and
// perspective scale that show the whole model. None of this is file data.

#include <QPointF>
#include <QSize>
#include <optional>
#include <vector>

#include "core/bbx_model.h"
#include "editor/ortho_view.h"

namespace editor {

// The wheel and the fit keep the flat views' zoom within these.
inline constexpr float kLeastZoom = 1.0f / 64;
inline constexpr float kMostZoom = 1024;

// The model coordinate shown at that pixel along one axis of a view: the
// inverse of ToScreen (without its rounding).
double ModelCoordinate(double pixel, int centre, float zoom, float pan);

// A scale turned by the wheel: 1.25 times per notch (120 eighths of a
// degree) away from the user, as much smaller toward them; partial notches
// of fine wheels scale in proportion.
double WheelFactor(int angleDelta);

// The flat views at the new zoom (held within kLeastZoom .. kMostZoom), the
// model point under `point` in the view of that size and axes staying under
// it; the views' third axis keeps the model point at their centres.
TOrthoCamera ZoomedAbout(const TOrthoCamera& camera, TOrthoAxes axes, QSize size, QPointF point, float zoom);

// The views moved by the pointer's way in a view with those axes.
TOrthoCamera Panned(const TOrthoCamera& camera, TOrthoAxes axes, QPointF way);

// The box round every sphere the flat views draw, radii included; elements
// with a coordinate or radius that is no finite number are left out.
struct TModelBox {
    float Low[3];
    float High[3];
};
std::optional<TModelBox> ModelBox(const bbx::Tbbx_model& model);

struct TViewPlace {
    TOrthoAxes Axes;
    QSize Size;
};

// The zoom and pans that show the whole model, centred, in each of the flat
// views with a margin, the zoom rounded down to two significant digits. An
// empty model is fitted as the guide square at ±128; where the model has no
// extent along either of a view's axes the zoom stays as it was.
TOrthoCamera FittedCamera(const bbx::Tbbx_model& model, const std::vector<TViewPlace>& views,
                          const TOrthoCamera& camera);

// The perspective scale R that shows the whole model at those angles in a
// view of that size with a margin (two significant digits, rounded down);
// none when the model reaches the eye or has no extent.
std::optional<float> FittedPerspectiveScale(const bbx::Tbbx_model& model, QSize size, float kx, float ky);

}  // namespace editor
