#include "editor/outline_raster.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace editor {
namespace {

// Beyond this radius a circle is found row by row and column by column of
// the image, a cost that does not grow with the circle.
constexpr int kLargestWalkedRadius = 4096;

}  // namespace

TOutlineRaster::TOutlineRaster(QImage& image)
    : Image(image),
      Bits(reinterpret_cast<QRgb*>(image.bits())),
      Stride(image.bytesPerLine() / 4),
      W(image.width()),
      H(image.height()) {}

void TOutlineRaster::HorizontalSpan(int y, int x0, int x1) {
    if (y < 0 || y >= H) return;
    x0 = std::max(x0, 0);
    x1 = std::min(x1, W - 1);
    QRgb* row = Bits + static_cast<std::ptrdiff_t>(y) * Stride;
    for (int x = x0; x <= x1; ++x) row[x] = Color;
}

void TOutlineRaster::Line(int x0, int y0, int x1, int y1) {
    if (y0 == y1) {
        HorizontalSpan(y0, std::min(x0, x1), std::max(x0, x1));
    } else if (x0 == x1) {
        for (int y = std::max(std::min(y0, y1), 0); y <= std::min(std::max(y0, y1), H - 1); ++y) Plot(x0, y);
    } else {
        // Slanted lines are few (one per series): Qt's painter draws them.
        QPainter& painter = Painter();
        painter.setPen(QColor::fromRgb(Color));
        painter.drawLine(x0, y0, x1, y1);
    }
}

QPainter& TOutlineRaster::Painter() {
    if (!ImagePainter) ImagePainter.emplace(&Image);
    return *ImagePainter;
}

void TOutlineRaster::Circle(int cx, int cy, int radius) {
    const int r = std::abs(radius);
    if (r == 0) return;
    const long left = static_cast<long>(cx) - r, right = static_cast<long>(cx) + r;
    const long top = static_cast<long>(cy) - r, bottom = static_cast<long>(cy) + r;
    if (right < 0 || bottom < 0 || left >= W || top >= H) return;
    if (r > kLargestWalkedRadius) {
        const double r2 = static_cast<double>(r) * r;
        for (int y = 0; y < H; ++y) {
            const double dy = static_cast<double>(y) - cy;
            if (dy * dy > r2) continue;
            const double dx = std::sqrt(r2 - dy * dy);
            Plot(static_cast<int>(std::lround(cx - dx)), y);
            Plot(static_cast<int>(std::lround(cx + dx)), y);
        }
        for (int x = 0; x < W; ++x) {
            const double dx = static_cast<double>(x) - cx;
            if (dx * dx > r2) continue;
            const double dy = std::sqrt(r2 - dx * dx);
            Plot(x, static_cast<int>(std::lround(cy - dy)));
            Plot(x, static_cast<int>(std::lround(cy + dy)));
        }
        return;
    }
    // Midpoint circle: one octant computed, eight plotted.
    int x = r, y = 0, err = 1 - r;
    while (x >= y) {
        for (const auto& [px, py] : {std::pair{x, y}, {y, x}, {-y, x}, {-x, y}, {-x, -y}, {-y, -x}, {y, -x}, {x, -y}})
            Plot(cx + px, cy + py);
        ++y;
        if (err < 0) {
            err += 2 * y + 1;
        } else {
            --x;
            err += 2 * (y - x) + 1;
        }
    }
}

void TOutlineRaster::Frame(const QRect& rect) {
    HorizontalSpan(rect.top(), rect.left(), rect.right());
    HorizontalSpan(rect.bottom(), rect.left(), rect.right());
    for (int y = rect.top() + 1; y < rect.bottom(); ++y) {
        Plot(rect.left(), y);
        Plot(rect.right(), y);
    }
}

}  // namespace editor
