#include "runtime/surface.h"

#include <algorithm>
#include <optional>

#include "runtime/display.h"
#include "runtime/game_canvas.h"

namespace gb {
namespace {

template <typename TPixel>
void CopyRow(TPixel* target, const TPixel* source, int count, std::optional<std::uint32_t> key) {
    if (!key) {
        std::copy(source, source + count, target);
        return;
    }
    const auto skip = static_cast<TPixel>(*key);
    // Branch-free so that the compiler can vectorise the keyed copy.
    for (int i = 0; i < count; ++i) target[i] = source[i] == skip ? target[i] : source[i];
}

// Copies `source` rectangle `from` (already inside the source) to (x, y) of
// `target` (already inside the target); the two are different buffers.
void CopyPixels(bbx::TPixelBuffer& target, int x, int y, const bbx::TPixelBuffer& source, const TRect& from,
                std::optional<std::uint32_t> key) {
    const int w = from.Width();
    if (source.Format() != target.Format()) {
        for (int row = 0; row < from.Height(); ++row)
            for (int col = 0; col < w; ++col) {
                const std::uint32_t pixel = source.GetPixel(from.Left + col, from.Top + row);
                if (key && pixel == *key) continue;
                target.SetPixel(x + col, y + row, target.MapColor(source.UnmapPixel(pixel)));
            }
        return;
    }
    for (int row = 0; row < from.Height(); ++row) {
        if (target.Format() == bbx::TPixelFormat::Rgb565)
            CopyRow(target.Row16(y + row) + x, source.Row16(from.Top + row) + from.Left, w, key);
        else
            CopyRow(target.Row32(y + row) + x, source.Row32(from.Top + row) + from.Left, w, key);
    }
}

}  // namespace

TSurface::TSurface(const TDisplay& display) : TSurface(display.Format(), display.TextRenderer()) {}

TSurface::TSurface(bbx::TPixelFormat format, TTextRenderer* text) : Pixels(0, 0, format), Text(text) {}

TSurface::~TSurface() = default;

void TSurface::SetSize(int width, int height) { Pixels.SetSize(width, height); }

void TSurface::Fill(bbx::TColor color) { Pixels.Fill(Pixels.MapColor(color)); }

void TSurface::Draw(int x, int y, const TSurface& source, const TRect& sourceRect, bool transparent) {
    // Clip to the source first, moving the target position with the cut...
    TRect from = Intersect(sourceRect, source.ClientRect());
    x += from.Left - sourceRect.Left;
    y += from.Top - sourceRect.Top;
    // ...then to this surface.
    const TRect to = Intersect(Bounds(x, y, from.Width(), from.Height()), ClientRect());
    if (to.IsEmpty()) return;
    from = Bounds(from.Left + (to.Left - x), from.Top + (to.Top - y), to.Width(), to.Height());

    std::optional<std::uint32_t> key;
    if (transparent) key = source.Pixels.MapColor(source.KeyColor);

    if (&source == this) {
        // Overlapping parts of one surface: copy through a snapshot.
        bbx::TPixelBuffer snapshot(from.Width(), from.Height(), Pixels.Format());
        CopyPixels(snapshot, 0, 0, Pixels, from, std::nullopt);
        CopyPixels(Pixels, to.Left, to.Top, snapshot, TRect{0, 0, from.Width(), from.Height()}, key);
        return;
    }
    CopyPixels(Pixels, to.Left, to.Top, source.Pixels, from, key);
}

TGameCanvas& TSurface::Canvas() {
    if (!Lent) Lent = std::make_unique<TGameCanvas>(Pixels, Text);
    return *Lent;
}

void TSurface::ReleaseCanvas() { Lent.reset(); }

}  // namespace gb
