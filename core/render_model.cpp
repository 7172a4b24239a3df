#include "core/render_model.h"

#include <cmath>
#include <string>
#include <vector>

#include "core/depth_order.h"

namespace bbx {
namespace {

// The number of spheres an element expands to; a C below -1 gives none.
std::int64_t SphereCount(const TSphereElement& e) {
    if (e.C == -1) return 1;
    if (e.C >= 0) return std::int64_t{e.C} + 2;
    return 0;
}

// Beyond the long range lrint gives LONG_MIN whatever the sign, so the clamp
// comes first; NaN goes to the negative end, as lrint sends it.
int Project(long double scale, long double v, long double depth) {
    constexpr long double kLimit = 100000000;
    const long double p = scale * v / depth;
    if (!(p > -kLimit)) return -100000000;
    if (p > kLimit) return 100000000;
    return static_cast<int>(std::lrint(p));
}

void Expand(const TSphereElement& e, std::vector<TSphereElement>& out) {
    if (IsSingleSphere(e)) {
        out.push_back(e);
        return;
    }
    if (e.C < 0) return;
    const long double steps = static_cast<long double>(e.C) + 1;
    for (std::int64_t k = 0; k <= std::int64_t(e.C) + 1; ++k) {
        // k = 0 is the second end, the last sphere the first end.
        const long double f = k / steps;
        const long double g = 1 - f;
        out.push_back(MakeSphere(e.Color, static_cast<float>(f * e.X1 + g * e.X2),
                                 static_cast<float>(f * e.Y1 + g * e.Y2), static_cast<float>(f * e.Z1 + g * e.Z2),
                                 static_cast<float>(f * e.R1 + g * e.R2)));
    }
}

}  // namespace

std::int64_t RenderSphereCount(const Tbbx_model& model) {
    std::int64_t total = 0;
    for (const auto& e : model.ElementList()) total += SphereCount(e);
    return total;
}

ETooManySpheres::ETooManySpheres(const Tbbx_model& model, std::int32_t element, std::int64_t spheres)
    : Exception("Model \"" + model.Name + "\" (ID " + std::to_string(model.ID) + "): element " +
                std::to_string(element) + " takes it past " + std::to_string(kMaxRenderSpheres) +
                " spheres (" + std::to_string(spheres) + " in all), too many to draw"),
      ModelId(model.ID),
      Element(element),
      Spheres(spheres) {}

void CheckSphereLimit(const Tbbx_model& model) {
    const std::int64_t total = RenderSphereCount(model);
    if (total <= kMaxRenderSpheres) return;
    std::int64_t running = 0;
    std::int32_t passing = 0;
    while ((running += SphereCount(model.GetElement(passing))) <= kMaxRenderSpheres) ++passing;
    throw ETooManySpheres(model, passing, total);
}

void RenderModel(const Tbbx_model& model, TRenderCanvas& canvas, std::int32_t width, std::int32_t height,
                 float kx, float ky, float r) {
    const std::int32_t cx = width / 2;
    const std::int32_t cy = height / 2;

    CheckSphereLimit(model);
    std::vector<TSphereElement> spheres;
    spheres.reserve(static_cast<std::size_t>(RenderSphereCount(model)));
    for (const auto& e : model.ElementList()) Expand(e, spheres);

    // Turn (z is negated first, then turned by kx) and tilt by ky; every
    // result is stored back as a single before it is used further.
    const long double cosA = std::cos(static_cast<long double>(kx));
    const long double sinA = std::sin(static_cast<long double>(kx));
    const long double cosB = std::cos(static_cast<long double>(ky));
    const long double sinB = std::sin(static_cast<long double>(ky));
    for (auto& s : spheres) {
        const float x = static_cast<float>(cosA * s.X1 + sinA * s.Z1);
        const float z = static_cast<float>(sinA * s.X1 - cosA * s.Z1);
        const float y = static_cast<float>(cosB * s.Y1 - sinB * z);
        s.Z1 = static_cast<float>(sinB * s.Y1 + cosB * z);
        s.X1 = x;
        s.Y1 = y;
    }

    std::vector<float> depths(spheres.size());
    for (std::size_t i = 0; i < spheres.size(); ++i) depths[i] = spheres[i].Z1;
    const std::vector<std::uint32_t> order = FarToNearOrder(depths);

    canvas.SetBrushStyle(TBrushStyle::Solid);
    const long double scale = r;
    for (const std::uint32_t index : order) {
        const TSphereElement& s = spheres[index];
        const long double depth = static_cast<long double>(s.Z1) + 1000;
        // At or behind the eye the projection is meaningless; such a sphere is
        // left out and the others are still drawn.
        if (!(depth > 0)) continue;
        canvas.SetPenColor(s.Color);
        canvas.SetBrushColor(s.Color);
        const long double x = s.X1;
        const long double y = s.Y1;
        const long double radius = s.R1;
        canvas.Ellipse(cx + Project(scale, x - radius, depth), cy + Project(scale, y - radius, depth),
                       cx + Project(scale, x + radius, depth), cy + Project(scale, y + radius, depth));
    }
}

}  // namespace bbx
