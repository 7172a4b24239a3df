#include "app/overlay.h"

#include <cstdint>

#include "runtime/surface.h"

namespace gb {

void Dim(TSurface& target, const TRect& area) {
    const TRect clipped = Intersect(area, target.ClientRect());
    bbx::TPixelBuffer& pixels = target.Buffer();
    for (int y = clipped.Top; y < clipped.Bottom; ++y) {
        // Shifting the whole pixel, then masking off what each field took
        // from its neighbour.
        if (pixels.Format() == bbx::TPixelFormat::Rgb565) {
            for (std::uint16_t* p = pixels.Row16(y) + clipped.Left; p < pixels.Row16(y) + clipped.Right; ++p)
                *p = static_cast<std::uint16_t>((*p >> 2) & 0x39E7);
        } else {
            for (std::uint32_t* p = pixels.Row32(y) + clipped.Left; p < pixels.Row32(y) + clipped.Right; ++p)
                *p = (*p >> 2) & 0x3F3F3F;
        }
    }
}

}  // namespace gb
