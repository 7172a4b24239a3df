#include "core/software_canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace bbx {
namespace {

// Ceiling and floor of values already clamped to the int range by the callers'
// boxes; cheaper than the library calls in the per-row loop.
int FloorToInt(double v) {
    const double clamped = std::clamp(v, -2147483000.0, 2147483000.0);
    const int t = static_cast<int>(clamped);
    return t > clamped ? t - 1 : t;
}

int CeilToInt(double v) {
    const double clamped = std::clamp(v, -2147483000.0, 2147483000.0);
    const int t = static_cast<int>(clamped);
    return t < clamped ? t + 1 : t;
}

}  // namespace

void TSoftwareCanvas::Ellipse(int left, int top, int right, int bottom) {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    if (static_cast<long long>(right) - left < 1 || static_cast<long long>(bottom) - top < 1) return;
    const bool fill = BrushStyle == TBrushStyle::Solid;
    const bool outline = PenStyle == TPenStyle::Solid && (!fill || PenColor != BrushColor);
    if (!fill && !outline) return;

    if (bottom <= 0 || top >= Target->Height() || right <= 0 || left >= Target->Width()) return;

    // Pixel (x, y) belongs to the ellipse when its centre lies inside the
    // ellipse inscribed in the box.
    const double cx = (static_cast<double>(left) + right) / 2;
    const double cy = (static_cast<double>(top) + bottom) / 2;
    const double rx = (static_cast<double>(right) - left) / 2;
    const double ry = (static_cast<double>(bottom) - top) / 2;
    const double inverseRy = 1 / ry;
    const auto span = [&](int y, int& a, int& b) {
        const double dy = (y + 0.5 - cy) * inverseRy;
        const double q = 1 - dy * dy;
        if (q < 0) {
            a = 0, b = -1;
            return;
        }
        const double half = rx * std::sqrt(q);
        // The span ends lie within [left, right - 1], so they fit an int.
        a = std::max(CeilToInt(cx - half - 0.5), left);
        b = std::min(FloorToInt(cx + half - 0.5), right - 1);
    };

    const std::uint32_t brush = Target->MapColor(BrushColor);
    const int firstRow = std::max(top, 0);
    const int endRow = std::min(bottom, Target->Height());
    if (!outline) {
        // Row y and row top + bottom - 1 - y mirror about the centre and have
        // the same span, so each square root serves both. Only rows on the
        // canvas are visited, however far the box reaches.
        const long long mirrorSum = static_cast<long long>(top) + bottom - 1;
        const long long upperEnd = std::min<long long>(endRow, (mirrorSum >> 1) + 1);
        for (int y = firstRow; y < upperEnd; ++y) {
            int a, b;
            span(y, a, b);
            Target->FillSpan(y, a, b, brush);
            const long long mirror = mirrorSum - y;
            if (mirror != y && mirror < endRow) Target->FillSpan(static_cast<int>(mirror), a, b, brush);
        }
        // Rows of the lower half whose mirror lies above the canvas.
        for (long long y = std::max<long long>(firstRow, mirrorSum - firstRow + 1); y < endRow; ++y) {
            int a, b;
            span(static_cast<int>(y), a, b);
            Target->FillSpan(static_cast<int>(y), a, b, brush);
        }
        return;
    }

    // The outline needs each row's neighbours: the spans are computed first,
    // one row beyond each visible edge.
    const int y0 = std::max(top, -1);
    const int y1 = std::min(bottom, Target->Height() + 1);
    const auto rows = static_cast<std::size_t>(y1 - y0);
    SpanStart.assign(rows, 0);
    SpanEnd.assign(rows, -1);
    for (int y = y0; y < y1; ++y) span(y, SpanStart[static_cast<std::size_t>(y - y0)], SpanEnd[static_cast<std::size_t>(y - y0)]);

    const std::uint32_t pen = Target->MapColor(PenColor);
    const auto covered = [&](std::size_t row, int x) {
        return row < rows && SpanStart[row] <= x && x <= SpanEnd[row];
    };
    for (int y = firstRow; y < endRow; ++y) {
        const auto i = static_cast<std::size_t>(y - y0);
        const int a = SpanStart[i], b = SpanEnd[i];
        if (a > b) continue;
        if (fill) Target->FillSpan(y, a, b, brush);
        // The row's ends, and every pixel the row above or below does not cover.
        for (int x = std::max(a, 0); x <= std::min(b, Target->Width() - 1); ++x) {
            if (x == a || x == b || !covered(i - 1, x) || !covered(i + 1, x)) Target->SetPixel(x, y, pen);
        }
    }
}

void TSoftwareCanvas::Rectangle(int left, int top, int right, int bottom) {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    if (right - left < 1 || bottom - top < 1) return;
    if (BrushStyle == TBrushStyle::Solid) Target->FillRect(left, top, right, bottom, Target->MapColor(BrushColor));
    if (PenStyle != TPenStyle::Solid) return;
    const std::uint32_t pen = Target->MapColor(PenColor);
    Target->FillSpan(top, left, right - 1, pen);
    Target->FillSpan(bottom - 1, left, right - 1, pen);
    Target->FillRect(left, top, left + 1, bottom, pen);
    Target->FillRect(right - 1, top, right, bottom, pen);
}

void TSoftwareCanvas::FillRect(int left, int top, int right, int bottom) {
    if (BrushStyle != TBrushStyle::Solid) return;
    Target->FillRect(std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom),
                     Target->MapColor(BrushColor));
}

void TSoftwareCanvas::Line(int x0, int y0, int x1, int y1) {
    if (PenStyle != TPenStyle::Solid) return;
    const std::uint32_t pen = Target->MapColor(PenColor);
    // Bresenham; the end point itself is not drawn.
    const long dx = std::labs(static_cast<long>(x1) - x0), dy = -std::labs(static_cast<long>(y1) - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    long err = dx + dy;
    long x = x0, y = y0;
    while (x != x1 || y != y1) {
        if (x >= 0 && y >= 0 && x < Target->Width() && y < Target->Height())
            Target->SetPixel(static_cast<int>(x), static_cast<int>(y), pen);
        const long e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

}  // namespace bbx
