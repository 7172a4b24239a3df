#include "core/pixel_buffer.h"

#include <algorithm>
#include <new>

namespace bbx {

TPixelBuffer::TPixelBuffer(int width, int height, TPixelFormat format) : Fmt(format) { SetSize(width, height); }

void TPixelBuffer::SetSize(int width, int height) {
    const int w = std::max(width, 0);
    const int h = std::max(height, 0);
    const auto n = static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
    if (n > kMaxPixels) throw std::bad_alloc();
    // The new pixels are made before anything changes, so that a failed
    // allocation leaves the size and the pixels as they were.
    std::vector<std::uint16_t> pixels16;
    std::vector<std::uint32_t> pixels32;
    if (Fmt == TPixelFormat::Rgb565)
        pixels16.assign(n, 0);
    else
        pixels32.assign(n, 0);
    Pixels16.swap(pixels16);
    Pixels32.swap(pixels32);
    W = w;
    H = h;
}

std::uint32_t TPixelBuffer::MapColor(TColor color, TPixelFormat format) {
    const unsigned r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
    if (format == TPixelFormat::Rgb565) return (r >> 3) << 11 | (g >> 2) << 5 | (b >> 3);
    return r << 16 | g << 8 | b;
}

TColor TPixelBuffer::UnmapPixel(std::uint32_t pixel) const {
    if (Fmt == TPixelFormat::Rgb565) {
        // Widen each channel by repeating its top bits, so white stays white.
        const unsigned r5 = (pixel >> 11) & 0x1F, g6 = (pixel >> 5) & 0x3F, b5 = pixel & 0x1F;
        return RGB(r5 << 3 | r5 >> 2, g6 << 2 | g6 >> 4, b5 << 3 | b5 >> 2);
    }
    return RGB(pixel >> 16, pixel >> 8, pixel);
}

std::uint32_t TPixelBuffer::GetPixel(int x, int y) const {
    if (!Contains(x, y)) return 0;
    return Fmt == TPixelFormat::Rgb565 ? Row16(y)[x] : Row32(y)[x];
}

void TPixelBuffer::SetPixel(int x, int y, std::uint32_t pixel) {
    if (!Contains(x, y)) return;
    if (Fmt == TPixelFormat::Rgb565)
        Row16(y)[x] = static_cast<std::uint16_t>(pixel);
    else
        Row32(y)[x] = pixel;
}

void TPixelBuffer::FillRect(int x0, int y0, int x1, int y1, std::uint32_t pixel) {
    y0 = std::max(y0, 0);
    y1 = std::min(y1, H);
    for (int y = y0; y < y1; ++y) FillSpan(y, x0, x1 - 1, pixel);
}

}  // namespace bbx
