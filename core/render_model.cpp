#include "render_model.h"

#include <cmath>
#include <utility>
#include <vector>


namespace bbx {
namespace {

// The number of spheres an element expands to; a C below -1 gives none.
std::size_t SphereCount(const TSphereElement& e) {
    if (e.C == -1) return 1;
    if (e.C >= 0) return static_cast<std::size_t>(e.C) + 2;
    return 0;
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

void RenderModel(const Tbbx_model& model, TRenderCanvas& canvas, std::int32_t width, std::int32_t height,
                 float kx, float ky, float r) {
    const std::int32_t cx = width / 2;
    const std::int32_t cy = height / 2;

    std::size_t total = 0;
    for (const auto& e : model.ElementList()) total += SphereCount(e);
    std::vector<TSphereElement> spheres;
    spheres.reserve(total);
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

    // Selection sort, far (large z) first; the exchange happens also when the
    // best is already in place, which fixes the order of equal depths.
    for (std::size_t i = 0; i + 1 < spheres.size(); ++i) {
        float best = spheres[i].Z1;
        std::size_t m = i;
        for (std::size_t j = i + 1; j < spheres.size(); ++j) {
            if (spheres[j].Z1 > best) {
                best = spheres[j].Z1;
                m = j;
            }
        }
        std::swap(spheres[i], spheres[m]);
    }

    canvas.SetBrushStyle(TBrushStyle::Solid);
    const long double scale = r;
    for (const auto& s : spheres) {
        const long double depth = static_cast<long double>(s.Z1) + 1000;
        // At or behind the eye the projection is meaningless; such a sphere is
        // left out and the others are still drawn.
        if (!(depth > 0)) continue;
        canvas.SetPenColor(s.Color);
        canvas.SetBrushColor(s.Color);
        const long double x = s.X1;
        const long double y = s.Y1;
        const long double radius = s.R1;
        const auto project = [&](long double v) {
            const long double p = std::nearbyint(scale * v / depth);
            // Clamp far outside any canvas so the integer conversion stays defined.
            return static_cast<int>(std::fmax(-1e8L, std::fmin(1e8L, std::isnan(p) ? 0.0L : p)));
        };
        canvas.Ellipse(cx + project(x - radius), cy + project(y - radius), cx + project(x + radius),
                       cy + project(y + radius));
    }
}

}  // namespace bbx
