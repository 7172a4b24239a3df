#include "editor/view_navigation.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace editor {
namespace {

// Room left free round the fitted model, in view pixels.
constexpr double kFitMargin = 10;
// The eye's distance in front of the origin in the perspective view.
constexpr long double kEyeDistance = 1000;

int Index(TAxis axis) { return axis == TAxis::X ? 0 : axis == TAxis::Y ? 1 : 2; }

TAxis ThirdAxis(TOrthoAxes axes) {
    for (TAxis axis : {TAxis::X, TAxis::Y, TAxis::Z})
        if (axis != axes.Horizontal && axis != axes.Vertical) return axis;
    return TAxis::Z;
}

// Rounded down to two significant digits, so that the zoom reads plainly.
double TwoDigitsDown(double value) {
    const double step = std::pow(10.0, std::floor(std::log10(value)) - 1);
    return std::max(step, std::floor(value / step + 1e-9) * step);
}

bool Finite(float value) { return std::isfinite(value); }

// Both ends of a series (the one sphere of a single one) with their radii;
// the in-between spheres lie inside what the ends span.
template <typename Visit>
void VisitEnds(const bbx::TSphereElement& e, Visit visit) {
    visit(e.X1, e.Y1, e.Z1, e.R1);
    if (!bbx::IsSingleSphere(e)) visit(e.X2, e.Y2, e.Z2, e.R2);
}

}  // namespace

double ModelCoordinate(double pixel, int centre, float zoom, float pan) { return (pixel - centre - pan) / zoom; }

double WheelFactor(int angleDelta) { return std::pow(1.25, angleDelta / 120.0); }

TOrthoCamera ZoomedAbout(const TOrthoCamera& camera, TOrthoAxes axes, QSize size, QPointF point, float zoom) {
    TOrthoCamera zoomed = camera;
    zoomed.Zoom = std::clamp(zoom, kLeastZoom, kMostZoom);
    // At zoom 0 every point is drawn at the same place: none is under the pointer.
    if (!(camera.Zoom > 0)) return zoomed;
    const auto keep = [&](TAxis axis, double pixel, int centre) {
        const double unit = ModelCoordinate(pixel, centre, camera.Zoom, camera.Pan(axis));
        zoomed.Pan(axis) = static_cast<float>(pixel - centre - unit * zoomed.Zoom);
    };
    keep(axes.Horizontal, point.x(), size.width() / 2);
    keep(axes.Vertical, point.y(), size.height() / 2);
    const TAxis third = ThirdAxis(axes);
    zoomed.Pan(third) = static_cast<float>(static_cast<double>(camera.Pan(third)) * zoomed.Zoom / camera.Zoom);
    return zoomed;
}

TOrthoCamera Panned(const TOrthoCamera& camera, TOrthoAxes axes, QPointF way) {
    TOrthoCamera panned = camera;
    panned.Pan(axes.Horizontal) = static_cast<float>(camera.Pan(axes.Horizontal) + way.x());
    panned.Pan(axes.Vertical) = static_cast<float>(camera.Pan(axes.Vertical) + way.y());
    return panned;
}

std::optional<TModelBox> ModelBox(const bbx::Tbbx_model& model) {
    std::optional<TModelBox> box;
    for (const bbx::TSphereElement& e : model.ElementList()) {
        bool finite = true;
        VisitEnds(e, [&](float x, float y, float z, float r) {
            finite = finite && Finite(x) && Finite(y) && Finite(z) && Finite(r);
        });
        if (!finite) continue;
        VisitEnds(e, [&](float x, float y, float z, float r) {
            const float centre[3] = {x, y, z};
            // Negative radii are drawn at their size.
            const float radius = std::abs(r);
            if (!box) box = TModelBox{{x, y, z}, {x, y, z}};
            for (int a = 0; a < 3; ++a) {
                box->Low[a] = std::min(box->Low[a], centre[a] - radius);
                box->High[a] = std::max(box->High[a], centre[a] + radius);
            }
        });
    }
    return box;
}

TOrthoCamera FittedCamera(const bbx::Tbbx_model& model, const std::vector<TViewPlace>& views,
                          const TOrthoCamera& camera) {
    const TModelBox box = ModelBox(model).value_or(TModelBox{{-128, -128, -128}, {128, 128, 128}});
    double zoom = std::numeric_limits<double>::infinity();
    const auto limit = [&](TAxis axis, int pixels) {
        const double extent = static_cast<double>(box.High[Index(axis)]) - box.Low[Index(axis)];
        const double room = pixels - 2 * kFitMargin;
        if (extent > 0 && room > 0) zoom = std::min(zoom, room / extent);
    };
    for (const TViewPlace& view : views) {
        limit(view.Axes.Horizontal, view.Size.width());
        limit(view.Axes.Vertical, view.Size.height());
    }
    TOrthoCamera fitted = camera;
    if (std::isfinite(zoom)) fitted.Zoom = std::clamp(static_cast<float>(TwoDigitsDown(zoom)), kLeastZoom, kMostZoom);
    for (TAxis axis : {TAxis::X, TAxis::Y, TAxis::Z}) {
        const double middle = (static_cast<double>(box.Low[Index(axis)]) + box.High[Index(axis)]) / 2;
        fitted.Pan(axis) = static_cast<float>(-middle * fitted.Zoom);
    }
    return fitted;
}

std::optional<float> FittedPerspectiveScale(const bbx::Tbbx_model& model, QSize size, float kx, float ky) {
    const long double roomH = size.width() / 2.0L - kFitMargin;
    const long double roomV = size.height() / 2.0L - kFitMargin;
    if (roomH <= 0 || roomV <= 0) return std::nullopt;
    const long double cosA = std::cos(static_cast<long double>(kx)), sinA = std::sin(static_cast<long double>(kx));
    const long double cosB = std::cos(static_cast<long double>(ky)), sinB = std::sin(static_cast<long double>(ky));
    // The scale R may take before a sphere's disc leaves the view: the
    // renderer's turn and tilt, then R · (|x| + r) / D within the room. A
    // series' in-between discs lie between its ends' (each edge moves
    // monotonically along the series), so the ends decide.
    long double scale = std::numeric_limits<long double>::infinity();
    bool reachesEye = false;
    for (const bbx::TSphereElement& e : model.ElementList())
        VisitEnds(e, [&](float x, float y, float z, float r) {
            if (!Finite(x) || !Finite(y) || !Finite(z) || !Finite(r)) return;
            const long double turnedX = cosA * x + sinA * z;
            const long double turnedZ = sinA * x - cosA * z;
            const long double tiltedY = cosB * y - sinB * turnedZ;
            const long double depth = sinB * y + cosB * turnedZ + kEyeDistance;
            if (depth <= 1) {
                reachesEye = true;
                return;
            }
            const long double radius = std::abs(static_cast<long double>(r));
            if (std::abs(turnedX) + radius > 0) scale = std::min(scale, roomH * depth / (std::abs(turnedX) + radius));
            if (std::abs(tiltedY) + radius > 0) scale = std::min(scale, roomV * depth / (std::abs(tiltedY) + radius));
        });
    if (reachesEye || !std::isfinite(scale)) return std::nullopt;
    return static_cast<float>(TwoDigitsDown(static_cast<double>(scale)));
}

}  // namespace editor
