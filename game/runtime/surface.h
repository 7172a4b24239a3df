#pragma once
// An off-screen picture in the display's pixel format: fill, colour key,
// clipped opaque and colour-keyed copies from other surfaces, raw pixel
// reads, and a drawing canvas that it lends.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "core/pixel_buffer.h"
#include "core/render_canvas.h"
#include "runtime/rect.h"

namespace gb {

class TDisplay;
class TGameCanvas;
class TTextRenderer;

class TSurface {
public:
    // A 0 x 0 surface in the display's format, whose canvas draws text with
    // the display's text renderer.
    explicit TSurface(const TDisplay& display);
    explicit TSurface(bbx::TPixelFormat format, TTextRenderer* text = nullptr);
    ~TSurface();
    TSurface(const TSurface&) = delete;
    TSurface& operator=(const TSurface&) = delete;

    int Width() const { return Pixels.Width(); }
    int Height() const { return Pixels.Height(); }
    bbx::TPixelFormat Format() const { return Pixels.Format(); }
    TRect ClientRect() const { return {0, 0, Width(), Height()}; }

    // The contents are black afterwards (callers fill before they rely on it).
    // When the pixels cannot be allocated it raises std::bad_alloc and the
    // surface keeps its size and pixels.
    void SetSize(int width, int height);
    std::size_t ByteSize() const { return Pixels.ByteSize(); }
    void Fill(bbx::TColor color);

    bbx::TColor TransparentColor() const { return KeyColor; }
    void SetTransparentColor(bbx::TColor color) { KeyColor = color; }

    // Copies the source rectangle with its top-left corner at (x, y), clipped
    // to both surfaces. With `transparent`, source pixels equal to the
    // source's colour key (compared in the source's format) are skipped.
    void Draw(int x, int y, const TSurface& source, const TRect& sourceRect, bool transparent);

    // One pixel's raw value in the surface's format; 0 outside.
    std::uint32_t Pixel(int x, int y) const { return Pixels.GetPixel(x, y); }

    // The canvas draws straight into the pixels; asking again while it is
    // lent gives the same canvas with its settings, and a release ends the
    // loan, so the next loan starts from the default settings.
    TGameCanvas& Canvas();
    void ReleaseCanvas();

    bbx::TPixelBuffer& Buffer() { return Pixels; }
    const bbx::TPixelBuffer& Buffer() const { return Pixels; }

private:
    bbx::TPixelBuffer Pixels;
    bbx::TColor KeyColor = 0;
    TTextRenderer* Text;
    std::unique_ptr<TGameCanvas> Lent;
};

}  // namespace gb
