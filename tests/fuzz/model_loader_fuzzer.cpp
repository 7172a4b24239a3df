// Feeds arbitrary bytes to the model loader: it may refuse them with its read
// or format error, but must never crash, leak, or hold more than the input
// could describe. Every model loaded is then rendered on a small canvas, at
// angles and a scale taken from its own fields: a model beyond the sphere
// limit must be refused before anything is drawn.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/bbx_collection.h"
#include "core/errors.h"
#include "core/pixel_buffer.h"
#include "core/render_model.h"
#include "core/software_canvas.h"

namespace {

// Spheres drawn per input at most, so that each run stays quick; a model
// within the limit but beyond what is left of this is not drawn.
constexpr std::int64_t kDrawnSpheres = 1 << 12;

void Render(const bbx::Tbbx_model& model, std::int64_t& budget) {
    const std::int64_t spheres = bbx::RenderSphereCount(model);
    if (spheres <= bbx::kMaxRenderSpheres) {
        if (spheres > budget) return;
        budget -= spheres;
    }
    bbx::TPixelBuffer buffer(32, 24, bbx::TPixelFormat::Rgb565);
    bbx::TSoftwareCanvas canvas(buffer);
    try {
        bbx::RenderModel(model, canvas, 32, 24, model.I1, model.I2, static_cast<float>(model.ID));
    } catch (const bbx::ETooManySpheres& e) {
        if (spheres <= bbx::kMaxRenderSpheres || e.Spheres != spheres) std::abort();
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 32; ++x)
                if (buffer.GetPixel(x, y) != 0) std::abort();
        return;
    }
    if (spheres > bbx::kMaxRenderSpheres) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    bbx::Tbbx_collection models;
    bool loaded = true;
    try {
        models.LoadFromBytes(input);
    } catch (const bbx::EInOutError&) {
        loaded = false;
    }
    std::size_t held = 0;
    for (std::int32_t i = 0; i < models.Count(); ++i)
        held += models.Items(i)->Name.size() + 40 * static_cast<std::size_t>(models.Items(i)->Count());
    if (held > size) std::abort();
    std::int64_t budget = kDrawnSpheres;
    for (std::int32_t i = 0; i < models.Count(); ++i) Render(*models.Items(i), budget);
    // A file that loads saves back to exactly its own bytes.
    if (loaded && models.SaveToBytes() != input) std::abort();
    return 0;
}
