#include "editor/ortho_view.h"

#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>

#include "editor/outline_raster.h"
#include "editor/qt_convert.h"

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
// it is held where the integer stays defined. A product of two singles plus
// a single is exact or nearly so in double precision.
int Pixel(double value) {
    if (std::isnan(value)) return 0;
    return static_cast<int>(std::lrint(std::clamp(value, -1e8, 1e8)));
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
    int Radius(const TEnd& end) const { return Pixel(static_cast<double>(end.Radius) * Camera.Zoom); }

private:
    int Cx;
    int Cy;
    TOrthoAxes Axes;
    const TOrthoCamera& Camera;
};

QRect HandleBox(QPoint centre) { return QRect(centre.x() - 3, centre.y() - 3, 7, 7); }

// The selected element, cross-hatched in its outline colour, by Qt's painter.
void DrawSelected(QPainter& painter, const TViewGeometry& geometry, const std::array<TEnd, 2>& ends, int count,
                  const QColor& color) {
    painter.setPen(color);
    painter.setBrush(QBrush(color, Qt::DiagCrossPattern));
    for (int k = 0; k < count; ++k) {
        const QPoint centre = geometry.Centre(ends[k]);
        const int r = std::abs(geometry.Radius(ends[k]));
        if (r > 0) painter.drawEllipse(centre, r, r);
        painter.drawRect(HandleBox(centre).adjusted(0, 0, -1, -1));
    }
    if (count == 2) painter.drawLine(geometry.Centre(ends[0]), geometry.Centre(ends[1]));
    painter.setBrush(Qt::NoBrush);
}

}  // namespace

int ToScreen(int centre, float coordinate, float zoom, float pan) {
    return Pixel(static_cast<double>(coordinate) * zoom + pan) + centre;
}

bbx::TColor HighlightColor(bbx::TColor color) {
    return bbx::RGB(bbx::GetRValue(color) >> 1 | 128, bbx::GetGValue(color) >> 1 | 128,
                    bbx::GetBValue(color) >> 1 | 128);
}

void PaintOrthoView(QImage& image, TOrthoAxes axes, const TOrthoCamera& camera, const bbx::Tbbx_model& model,
                    std::int32_t selected) {
    const int w = image.width();
    const int h = image.height();
    image.fill(Qt::black);
    const TViewGeometry geometry(image.size(), axes, camera);
    TOutlineRaster raster(image);

    const auto crossAt = [&](float coordinate) {
        const int y = geometry.ScreenV(coordinate);
        const int x = geometry.ScreenH(coordinate);
        raster.Line(0, y, w, y);
        raster.Line(x, 0, x, h);
    };
    raster.SetColor(qRgb(192, 192, 192));
    crossAt(0);
    raster.SetColor(qRgb(128, 128, 128));
    crossAt(-128);
    crossAt(128);

    std::array<TEnd, 2> ends{};
    for (std::int32_t i = 0; i < model.Count(); ++i) {
        const bbx::TSphereElement& e = model.ElementList()[static_cast<std::size_t>(i)];
        const QColor color = ToQColor(HighlightColor(e.Color));
        const int count = Ends(e, axes, ends);
        if (i == selected) {
            DrawSelected(raster.Painter(), geometry, ends, count, color);
            continue;
        }
        raster.SetColor(color.rgb());
        for (int k = 0; k < count; ++k) {
            const QPoint centre = geometry.Centre(ends[k]);
            raster.Circle(centre.x(), centre.y(), geometry.Radius(ends[k]));
            raster.Frame(HandleBox(centre));
        }
        if (count == 2) {
            const QPoint a = geometry.Centre(ends[0]), b = geometry.Centre(ends[1]);
            raster.Line(a.x(), a.y(), b.x(), b.y());
        }
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
