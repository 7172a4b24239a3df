#include "core/render_model.h"

#include <algorithm>
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

// The index the selection step i picks: it keeps a running best from
// depths[i] and moves on only to a strictly greater depth. That is the first
// index holding the maximum (NaN never wins), or i itself when nothing beats
// depths[i]. The maximum is found with independent lanes, so the quadratic
// scan is not one long dependency chain.
std::size_t PickFarthest(const std::vector<float>& depths, std::size_t i) {
    const float start = depths[i];
    if (std::isnan(start)) return i;
    constexpr std::size_t kLanes = 4;
    float lane[kLanes] = {start, start, start, start};
    std::size_t j = i + 1;
    for (; j + kLanes <= depths.size(); j += kLanes)
        for (std::size_t k = 0; k < kLanes; ++k)
            if (depths[j + k] > lane[k]) lane[k] = depths[j + k];
    for (; j < depths.size(); ++j)
        if (depths[j] > lane[0]) lane[0] = depths[j];
    float best = start;
    for (float v : lane)
        if (v > best) best = v;
    if (!(best > start)) return i;
    for (j = i + 1; depths[j] != best; ++j) {
    }
    return j;
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
    // best is already in place, which fixes the order of equal depths. The
    // depths are scanned in an array of their own; the records follow every
    // exchange.
    std::vector<float> depths(spheres.size());
    for (std::size_t i = 0; i < spheres.size(); ++i) depths[i] = spheres[i].Z1;
    for (std::size_t i = 0; i + 1 < spheres.size(); ++i) {
        const std::size_t m = PickFarthest(depths, i);
        std::swap(depths[i], depths[m]);
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
            // lrint rounds halves to even in the default rounding mode; the
            // clamp keeps far-off (or NaN) values within int, beyond any canvas.
            const long p = std::lrint(scale * v / depth);
            return static_cast<int>(std::clamp(p, -100000000L, 100000000L));
        };
        canvas.Ellipse(cx + project(x - radius), cy + project(y - radius), cx + project(x + radius),
                       cy + project(y + radius));
    }
}

}  // namespace bbx
