#include "world/cos.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/rounding.h"
#include "world/gfx.h"

namespace gb {

std::int32_t RoundToPixel(double value) {
    if (std::isnan(value)) return 0;
    constexpr double least = std::numeric_limits<std::int32_t>::min();
    constexpr double most = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(bbx::RoundHalfEven(std::clamp(value, least, most)));
}

std::int32_t PixelOffset(std::int32_t a, std::int32_t b) {
    const std::int64_t difference = std::int64_t{a} - b;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(difference, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

void TCos::Draw(TSurface&, std::int32_t, std::int32_t) const {}

bool TCos::Update(std::uint32_t, std::uint32_t) { return false; }

void TCos::Collide(TCos&) {}

void TCos::DrawFigure(TSurface& surface, std::int32_t camX, std::int32_t camY, std::int32_t modelId, float yaw,
                      float pitch, float zoom) const {
    World.Gfx.DrawModel(surface, ScreenX(camX), ScreenY(camY), Radius, modelId, yaw, pitch, zoom);
}

}  // namespace gb
