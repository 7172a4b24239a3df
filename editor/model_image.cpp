#include "editor/model_image.h"

#include <cstring>
#include <new>

#include "core/pixel_buffer.h"
#include "core/render_model.h"
#include "core/software_canvas.h"

namespace editor {
namespace {

// Draws a part of a larger picture: every box is moved by the part's origin.
class TOffsetCanvas : public bbx::TRenderCanvas {
public:
    TOffsetCanvas(bbx::TRenderCanvas& target, QPoint origin) : Target(target), Origin(origin) {}
    void SetBrushStyle(bbx::TBrushStyle style) override { Target.SetBrushStyle(style); }
    void SetPenColor(bbx::TColor color) override { Target.SetPenColor(color); }
    void SetBrushColor(bbx::TColor color) override { Target.SetBrushColor(color); }
    void Ellipse(int left, int top, int right, int bottom) override {
        Target.Ellipse(left - Origin.x(), top - Origin.y(), right - Origin.x(), bottom - Origin.y());
    }

private:
    bbx::TRenderCanvas& Target;
    QPoint Origin;
};

}  // namespace

QImage RenderModelImage(const bbx::Tbbx_model* model, const TRenderView& view, bbx::TColor background, QRect area) {
    if (area.isEmpty()) return {};
    bbx::TPixelBuffer buffer(area.width(), area.height(), bbx::TPixelFormat::Xrgb8888);
    buffer.Fill(buffer.MapColor(background));
    if (model) {
        bbx::TSoftwareCanvas canvas(buffer);
        TOffsetCanvas part(canvas, area.topLeft());
        try {
            bbx::RenderModel(*model, part, view.Width, view.Height, view.KX, view.KY, view.R);
        } catch (const std::bad_alloc&) {
            // A series count far beyond memory: the picture stays without the
            // model rather than ending the program from inside a paint.
        } catch (const bbx::ETooManySpheres&) {
            // Refused before anything was drawn; the windows say so once,
            // outside painting.
        }
    }
    // The buffer's 0x00RRGGBB words are exactly Qt's RGB32 pixels.
    QImage image(area.width(), area.height(), QImage::Format_RGB32);
    for (int y = 0; y < area.height(); ++y)
        std::memcpy(image.scanLine(y), buffer.Row32(y), static_cast<std::size_t>(area.width()) * 4);
    return image;
}

}  // namespace editor
