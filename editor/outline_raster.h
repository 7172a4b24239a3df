#pragma once
// One-pixel outlines drawn straight into an RGB32 image: straight lines,
// circles and rectangle frames, clipped to the image. The flat views draw thousands of
// them on every drag, which Qt's painter (stroking each circle as a path)
// does several times slower.

#include <QImage>
#include <QPainter>
#include <QRect>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace editor {

class TOutlineRaster {
public:
    explicit TOutlineRaster(QImage& image);

    void SetColor(QRgb color) { Color = color; }
    // Both end points included.
    void Line(int x0, int y0, int x1, int y1);
    // The circle of that radius round the centre, 2·radius + 1 pixels across.
    void Circle(int cx, int cy, int radius);
    // The rectangle's outline, its right and bottom edges included.
    void Frame(const QRect& rect);
    // A painter on the same image, for what is not a plain outline.
    QPainter& Painter();

private:
    void Plot(int x, int y) {
        if (x >= 0 && y >= 0 && x < W && y < H) Bits[static_cast<std::ptrdiff_t>(y) * Stride + x] = Color;
    }
    void HorizontalSpan(int y, int x0, int x1);

    QImage& Image;
    QRgb* Bits;  // taken once: QImage checks for sharing on every access
    std::ptrdiff_t Stride;
    int W;
    int H;
    QRgb Color = 0;
    std::optional<QPainter> ImagePainter;
};

}  // namespace editor
