#pragma once
// One element of a sphere model: a single sphere (C = -1) or a series of
// C in-between spheres plus both end spheres. The record is stored in memory
// exactly as in the model file: ten 32-bit fields, 40 bytes, no padding.

#include <cstdint>
#include <cstring>

namespace bbx {

struct TSphereElement {
    std::int32_t C;
    std::uint32_t Color;
    float X1, Y1, Z1, R1;
    float X2, Y2, Z2, R2;
};

static_assert(sizeof(TSphereElement) == 40, "TSphereElement must be 40 bytes");
static_assert(sizeof(float) == 4, "single precision must be 32 bits");

inline TSphereElement MakeSphere(std::uint32_t color, float x, float y, float z, float r) {
    TSphereElement e;
    std::memset(&e, 0, sizeof e);
    e.C = -1;
    e.Color = color;
    e.X1 = x;
    e.Y1 = y;
    e.Z1 = z;
    e.R1 = r;
    return e;
}

inline TSphereElement MakeSeries(std::uint32_t color, std::int32_t c, float x1, float y1, float z1,
                                 float r1, float x2, float y2, float z2, float r2) {
    return TSphereElement{c, color, x1, y1, z1, r1, x2, y2, z2, r2};
}

inline bool IsSingleSphere(const TSphereElement& e) { return e.C == -1; }

}  // namespace bbx
