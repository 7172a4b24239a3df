#include "ortho_view.h"

#include <QPainter>
#include <array>
#include <cmath>

#include "qt_convert.h"

namespace editor {
namespace {

// One sphere as a flat view sees it: its centre coordinates along the view's
// axes and its radius.
struct TEnd {
    float H;
    float V;
    float Radius;
};

float Coordinate(TAxis axis, float x, float y, float z) { return axis == TAxis::X ? x : axis == TAxis::Y ? y : z; }

// The ends a flat view shows: the sphere of a single sphere, both ends of a
// series (its in-between spheres are not shown).
int Ends(const bbx::TSphereElement& e, TOrthoAxes axes, std::array<TEnd, 2>& ends) {
    ends[0] = {Coordinate(axes.Horizontal, e.X1, e.Y1, e.Z1), Coordinate(axes.Vertical, e.X1, e.Y1, e.Z1), e.R1};
    if (bbx::IsSingleSphere(e)) return 1;
    ends[1] = {Coordinate(axes.Horizontal, e.X2, e.Y2, e.Z2), Coordinate(axes.Vertical, e.X2, e.Y2, e.Z2), e.R2};
    return 2;
}

// Rounded to a pixel, halves to even; far outside any view (or not a number)
// it is held where the integer stays defined.
int Pixel(long double value) {
    if (std::isnan(value)) return 0;
    return static_cast<int>(std::nearbyint(std::fmax(-1e8L, std::fmin(1e8L, value))));
}

bool InHandle(QPoint point, QPoint centre) {
    return centre.x() - 3 <= point.x() && point.x() <= centre.x() + 4 && centre.y() - 3 <= point.y() &&
           point.y() <= centre.y() + 4;
}

class TViewGeometry {
public:
    TViewGeometry(QSize size, TOrthoAxes axes, const TOrthoCamera& camera)
        : Cx(size.width() / 2), Cy(size.height() / 2), Axes(axes), Camera(camera) {}

    int ScreenH(float coordinate) const { return ToScreen(Cx, coordinate, Camera.Zoom, Camera.Pan(Axes.Horizontal)); }
    int ScreenV(float coordinate) const { return ToScreen(Cy, coordinate, Camera.Zoom, Camera.Pan(Axes.Vertical)); }
    QPoint Centre(const TEnd& end) const { return {ScreenH(end.H), ScreenV(end.V)}; }
    int Radius(const TEnd& end) const { return Pixel(static_cast<long double>(end.Radius) * Camera.Zoom); }

private:
    int Cx;
    int Cy;
    TOrthoAxes Axes;
    const TOrthoCamera& Camera;
};

void DrawEnd(QPainter& painter, QPoint centre, int radius, const QRect& view) {
    // The box spans 2·radius pixels, as a box from centre - radius to centre + radius
    // with its right and bottom edges left out; Qt's outline adds one pixel.
    const int r = std::abs(radius);
    const QRect box(centre.x() - r, centre.y() - r, 2 * r - 1, 2 * r - 1);
    if (r > 0 && box.adjusted(0, 0, 1, 1).intersects(view)) painter.drawEllipse(box);
    painter.drawRect(centre.x() - 3, centre.y() - 3, 6, 6);
}

}  // namespace

int ToScreen(int centre, float coordinate, float zoom, float pan) {
    return Pixel(static_cast<long double>(coordinate) * zoom + pan) + centre;
}

bbx::TColor HighlightColor(bbx::TColor color) {
    return bbx::RGB(bbx::GetRValue(color) >> 1 | 128, bbx::GetGValue(color) >> 1 | 128,
                    bbx::GetBValue(color) >> 1 | 128);
}

void PaintOrthoView(QPainter& painter, QSize size, TOrthoAxes axes, const TOrthoCamera& camera,
                    const bbx::Tbbx_model& model, std::int32_t selected) {
    const int w = size.width();
    const int h = size.height();
    const QRect view(0, 0, w, h);
    painter.fillRect(view, Qt::black);
    const TViewGeometry geometry(size, axes, camera);

    const auto crossAt = [&](float coordinate) {
        const int y = geometry.ScreenV(coordinate);
        const int x = geometry.ScreenH(coordinate);
        painter.drawLine(0, y, w, y);
        painter.drawLine(x, 0, x, h);
    };
    painter.setPen(QColor(192, 192, 192));
    crossAt(0);
    painter.setPen(QColor(128, 128, 128));
    crossAt(-128);
    crossAt(128);

    std::array<TEnd, 2> ends{};
    for (std::int32_t i = 0; i < model.Count(); ++i) {
        const bbx::TSphereElement& e = model.ElementList()[static_cast<std::size_t>(i)];
        const QColor color = ToQColor(HighlightColor(e.Color));
        painter.setPen(color);
        painter.setBrush(i == selected ? QBrush(color, Qt::DiagCrossPattern) : QBrush(Qt::NoBrush));
        const int count = Ends(e, axes, ends);
        for (int k = 0; k < count; ++k) DrawEnd(painter, geometry.Centre(ends[k]), geometry.Radius(ends[k]), view);
        if (count == 2) painter.drawLine(geometry.Centre(ends[0]), geometry.Centre(ends[1]));
    }
}

std::int32_t HitTest(QPoint point, QSize size, TOrthoAxes axes, const TOrthoCamera& camera,
                     const bbx::Tbbx_model& model) {
    const TViewGeometry geometry(size, axes, camera);
    std::int32_t result = -1;
    std::array<TEnd, 2> ends{};
    for (std::int32_t i = model.Count() - 1; i >= 0; --i) {
        const int count = Ends(model.ElementList()[static_cast<std::size_t>(i)], axes, ends);
        for (int k = 0; k < count; ++k) {
            const QPoint centre = geometry.Centre(ends[k]);
            if (InHandle(point, centre)) return i;
            const long double dx = point.x() - centre.x();
            const long double dy = point.y() - centre.y();
            if (static_cast<long double>(ends[k].Radius) * camera.Zoom >= std::sqrt(dx * dx + dy * dy)) result = i;
        }
    }
    return result;
}

}  // namespace editor
