#include "editor/sphere_series.h"

#include <cmath>

namespace editor {

bbx::TSphereElement SeriesFromSphere(const bbx::TSphereElement& sphere) {
    constexpr float kPlainLength = 60;
    const float radius = std::fabs(sphere.R1);
    const float spaced = 4 * radius;
    const float length = std::isfinite(spaced) && spaced > 0 ? spaced : kPlainLength;
    bbx::TSphereElement series = sphere;
    series.C = 1;
    series.X2 = sphere.X1 + length;
    series.Y2 = sphere.Y1;
    series.Z2 = sphere.Z1;
    series.R2 = sphere.R1;
    return series;
}

}  // namespace editor
