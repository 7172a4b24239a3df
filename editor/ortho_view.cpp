#include "editor/ortho_view.h"

#include <QPainter>
#include <QTransform>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

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

// The ends a flat view shows with outlines and handles: the sphere of a single
// sphere, both ends of a series (its in-between spheres are drawn faintly).
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

// Where a flat view draws: view pixels (the pointer's) times the scale give
// device pixels. At scale 1 a centre is ToScreen itself.
class TViewGeometry {
public:
    TViewGeometry(QSize size, TOrthoAxes axes, const TOrthoCamera& camera, double scale = 1)
        : Cx(Pixel(size.width() / 2 * scale)),
          Cy(Pixel(size.height() / 2 * scale)),
          Axes(axes),
          Camera(camera),
          Scale(scale) {}

    int ScreenH(float coordinate) const { return Screen(Cx, coordinate, Axes.Horizontal); }
    int ScreenV(float coordinate) const { return Screen(Cy, coordinate, Axes.Vertical); }
    QPoint Centre(const TEnd& end) const { return {ScreenH(end.H), ScreenV(end.V)}; }
    int Radius(const TEnd& end) const { return Pixel(static_cast<double>(end.Radius) * Camera.Zoom * Scale); }
    // A centre handle: 7 view pixels square round the centre.
    QRect HandleBox(QPoint centre) const {
        const int a = Pixel(3 * Scale);
        return QRect(centre.x() - a, centre.y() - a, 2 * a + 1, 2 * a + 1);
    }

private:
    int Screen(int centre, float coordinate, TAxis axis) const {
        return Pixel((static_cast<double>(coordinate) * Camera.Zoom + Camera.Pan(axis)) * Scale) + centre;
    }

    int Cx;
    int Cy;
    TOrthoAxes Axes;
    const TOrthoCamera& Camera;
    double Scale;
};

// A pen `width` device pixels wide: the one-pixel outline drawn at every
// offset of a width × width square.
template <typename Draw>
void Stamped(int width, Draw draw) {
    for (int dy = 0; dy < width; ++dy)
        for (int dx = 0; dx < width; ++dx) draw(dx, dy);
}

// Beyond this many in-between spheres a series shows an even choice of them:
// more would overlap on the same pixels.
constexpr std::int64_t kMostInnerSpheres = 4096;

// The in-between spheres of a series where the renderer puts them, at most
// one per device pixel of the way between its ends.
void DrawInnerSpheres(TOutlineRaster& raster, const TViewGeometry& geometry, const bbx::TSphereElement& e,
                      TOrthoAxes axes, int width) {
    if (e.C <= 0) return;
    std::array<TEnd, 2> ends{};
    Ends(e, axes, ends);
    const QPoint a = geometry.Centre(ends[0]), b = geometry.Centre(ends[1]);
    const std::int64_t way = std::max({std::abs(std::int64_t(a.x()) - b.x()), std::abs(std::int64_t(a.y()) - b.y()),
                                       std::abs(std::int64_t(geometry.Radius(ends[0])) - geometry.Radius(ends[1]))});
    const std::int64_t steps = std::int64_t(e.C) + 1;
    const std::int64_t stride =
        std::max({std::int64_t(1), steps / std::max(way, std::int64_t(1)), (steps + kMostInnerSpheres - 1) / kMostInnerSpheres});
    for (std::int64_t k = stride; k < steps; k += stride) {
        const long double f = static_cast<long double>(k) / steps, g = 1 - f;
        const auto mix = [&](float first, float second) { return static_cast<float>(f * first + g * second); };
        const float x = mix(e.X1, e.X2), y = mix(e.Y1, e.Y2), z = mix(e.Z1, e.Z2);
        const TEnd sphere{Coordinate(axes.Horizontal, x, y, z), Coordinate(axes.Vertical, x, y, z), mix(e.R1, e.R2)};
        const QPoint centre = geometry.Centre(sphere);
        const int r = geometry.Radius(sphere);
        Stamped(width, [&](int dx, int dy) { raster.Circle(centre.x() + dx, centre.y() + dy, r); });
    }
}

void PaintView(QImage& image, QSize size, double scale, TOrthoAxes axes, const TOrthoCamera& camera,
               const bbx::Tbbx_model& model, std::int32_t selected) {
    const int w = image.width();
    const int h = image.height();
    const int width = std::max(1, static_cast<int>(std::floor(scale)));
    image.fill(Qt::black);
    const TViewGeometry geometry(size, axes, camera, scale);
    TOutlineRaster raster(image);

    // Under the guides and the outlines, which they must not cover.
    for (const bbx::TSphereElement& e : model.ElementList()) {
        raster.SetColor(ToQColor(FaintColor(e.Color)).rgb());
        DrawInnerSpheres(raster, geometry, e, axes, width);
    }

    const auto crossAt = [&](float coordinate) {
        const int y = geometry.ScreenV(coordinate);
        const int x = geometry.ScreenH(coordinate);
        Stamped(width, [&](int dx, int dy) {
            raster.Line(0, y + dy, w, y + dy);
            raster.Line(x + dx, 0, x + dx, h);
        });
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
            // Cross-hatched inside, the hatch as wide as the lines.
            QPainter& painter = raster.Painter();
            QBrush hatch(color, Qt::DiagCrossPattern);
            hatch.setTransform(QTransform::fromScale(width, width));
            painter.setPen(Qt::NoPen);
            painter.setBrush(hatch);
            for (int k = 0; k < count; ++k) {
                const QPoint centre = geometry.Centre(ends[k]);
                const int r = std::abs(geometry.Radius(ends[k]));
                if (r > 0) painter.drawEllipse(centre, r, r);
                painter.drawRect(geometry.HandleBox(centre));
            }
            painter.setBrush(Qt::NoBrush);
        }
        raster.SetColor(color.rgb());
        for (int k = 0; k < count; ++k) {
            const QPoint centre = geometry.Centre(ends[k]);
            const int r = geometry.Radius(ends[k]);
            const QRect box = geometry.HandleBox(centre);
            Stamped(width, [&](int dx, int dy) {
                raster.Circle(centre.x() + dx, centre.y() + dy, r);
                raster.Frame(box.translated(dx, dy));
            });
        }
        if (count == 2) {
            const QPoint a = geometry.Centre(ends[0]), b = geometry.Centre(ends[1]);
            Stamped(width, [&](int dx, int dy) { raster.Line(a.x() + dx, a.y() + dy, b.x() + dx, b.y() + dy); });
        }
    }
}

}  // namespace

int ToScreen(int centre, float coordinate, float zoom, float pan) {
    return Pixel(static_cast<double>(coordinate) * zoom + pan) + centre;
}

bbx::TColor HighlightColor(bbx::TColor color) {
    return bbx::RGB(bbx::GetRValue(color) >> 1 | 128, bbx::GetGValue(color) >> 1 | 128,
                    bbx::GetBValue(color) >> 1 | 128);
}

bbx::TColor FaintColor(bbx::TColor color) {
    const bbx::TColor outline = HighlightColor(color);
    return bbx::RGB(bbx::GetRValue(outline) * 2 / 5, bbx::GetGValue(outline) * 2 / 5, bbx::GetBValue(outline) * 2 / 5);
}

void PaintOrthoView(QImage& image, TOrthoAxes axes, const TOrthoCamera& camera, const bbx::Tbbx_model& model,
                    std::int32_t selected) {
    PaintView(image, image.size(), 1, axes, camera, model, selected);
}

QSize DevicePixels(QSize size, double scale) {
    return {static_cast<int>(std::ceil(size.width() * scale)), static_cast<int>(std::ceil(size.height() * scale))};
}

QImage OrthoViewImage(QSize size, double scale, TOrthoAxes axes, const TOrthoCamera& camera,
                      const bbx::Tbbx_model& model, std::int32_t selected) {
    QImage image(DevicePixels(size, scale), QImage::Format_RGB32);
    PaintView(image, size, scale, axes, camera, model, selected);
    // Set only now: the painter used above draws in device pixels.
    image.setDevicePixelRatio(scale);
    return image;
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

std::optional<TEndGrab> GrabEnd(QPoint point, QSize size, TOrthoAxes axes, const TOrthoCamera& camera,
                                const bbx::TSphereElement& element) {
    const TViewGeometry geometry(size, axes, camera);
    std::array<TEnd, 2> ends{};
    const int count = Ends(element, axes, ends);
    for (int k = 0; k < count; ++k)
        if (InHandle(point, geometry.Centre(ends[k]))) return TEndGrab{k, true};
    std::optional<TEndGrab> grab;
    long double nearest = 0;
    for (int k = 0; k < count; ++k) {
        const QPoint centre = geometry.Centre(ends[k]);
        const long double distance = std::hypot(static_cast<long double>(point.x() - centre.x()),
                                                static_cast<long double>(point.y() - centre.y()));
        if (static_cast<long double>(ends[k].Radius) * camera.Zoom >= distance && (!grab || distance < nearest)) {
            grab = TEndGrab{k, false};
            nearest = distance;
        }
    }
    return grab;
}

}  // namespace editor
