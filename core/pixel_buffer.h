#pragma once
// A software pixel buffer in one of the display's formats: RGB565 (16 bits)
// or XRGB8888 (32 bits). Pixel values are in the buffer's own format; colour
// values (red in the lowest byte) are mapped into it. A colour whose mapped
// value is 0 counts as the transparent key wherever 0 is the key.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/render_canvas.h"

namespace bbx {

enum class TPixelFormat { Rgb565, Xrgb8888 };

class TPixelBuffer {
public:
    TPixelBuffer() = default;
    TPixelBuffer(int width, int height, TPixelFormat format);

    int Width() const { return W; }
    int Height() const { return H; }
    TPixelFormat Format() const { return Fmt; }
    int BitsPerPixel() const { return Fmt == TPixelFormat::Rgb565 ? 16 : 32; }

    // The most pixels one buffer holds (16384 x 16384): a larger size is
    // refused with std::bad_alloc before anything is allocated, as an
    // allocation that cannot succeed would be.
    static constexpr std::size_t kMaxPixels = std::size_t{1} << 28;

    // New size; the contents become 0. Strong guarantee: when the pixels
    // cannot be allocated (std::bad_alloc) nothing changes.
    void SetSize(int width, int height);
    // The memory the pixels of a buffer of that size take.
    static std::size_t ByteSize(int width, int height, TPixelFormat format) {
        return static_cast<std::size_t>(std::max(width, 0)) * static_cast<std::size_t>(std::max(height, 0)) *
               (format == TPixelFormat::Rgb565 ? sizeof(std::uint16_t) : sizeof(std::uint32_t));
    }
    std::size_t ByteSize() const { return ByteSize(W, H, Fmt); }

    std::uint32_t MapColor(TColor color) const { return MapColor(color, Fmt); }
    static std::uint32_t MapColor(TColor color, TPixelFormat format);
    TColor UnmapPixel(std::uint32_t pixel) const;

    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < W && y < H; }
    std::uint32_t GetPixel(int x, int y) const;  // 0 outside
    void SetPixel(int x, int y, std::uint32_t pixel);  // ignored outside

    // Fills [x0, x1) × [y0, y1), clipped to the buffer.
    void FillRect(int x0, int y0, int x1, int y1, std::uint32_t pixel);
    void Fill(std::uint32_t pixel) { FillRect(0, 0, W, H, pixel); }
    // Fills [x0, x1] of one row, clipped. Inline: the ellipse fill calls it
    // once per row of every disc.
    void FillSpan(int y, int x0, int x1, std::uint32_t pixel) {
        if (y < 0 || y >= H) return;
        x0 = std::max(x0, 0);
        x1 = std::min(x1, W - 1);
        if (x0 > x1) return;
        if (Fmt == TPixelFormat::Rgb565)
            std::fill(Row16(y) + x0, Row16(y) + x1 + 1, static_cast<std::uint16_t>(pixel));
        else
            std::fill(Row32(y) + x0, Row32(y) + x1 + 1, pixel);
    }

    // Row access in the buffer's format (only the matching one is non-empty).
    std::uint16_t* Row16(int y) { return Pixels16.data() + static_cast<std::size_t>(y) * W; }
    std::uint32_t* Row32(int y) { return Pixels32.data() + static_cast<std::size_t>(y) * W; }
    const std::uint16_t* Row16(int y) const { return Pixels16.data() + static_cast<std::size_t>(y) * W; }
    const std::uint32_t* Row32(int y) const { return Pixels32.data() + static_cast<std::size_t>(y) * W; }

private:
    int W = 0;
    int H = 0;
    TPixelFormat Fmt = TPixelFormat::Xrgb8888;
    std::vector<std::uint16_t> Pixels16;
    std::vector<std::uint32_t> Pixels32;
};

}  // namespace bbx
