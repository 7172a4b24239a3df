// Redrawing the four views of the model editing window for a model of 2000
// elements (nine in ten single spheres, the rest series of five spheres), as
// every drag of a handle does. Target: under 16 ms for the whole redraw.
// And a selection click on a model of 200,000 spheres, which keeps the
// perspective picture as it is. Target: under 50 ms.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QWindow>
#include <memory>
#include <random>

#include "editor/frm_model.h"
#include "editor/model_image.h"
#include "editor/ortho_view.h"

namespace {

constexpr int kElements = 2000;
const QSize kViewSize(474, 349);  // each view of a 1100 × 700 window

QApplication& Application() {
    static int argc = 1;
    static char name[] = "bench_editor_views";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Lives as long as the process: Qt's own objects may outlast static destruction.
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

// The window's owner: a collection holding the one model, changes applied at once.
class TBenchHost : public editor::TCollectionHost {
public:
    bbx::Tbbx_collection& Models() override { return Collection; }
    void ModelLeaving(const bbx::Tbbx_model&) override {}
    void Record(std::unique_ptr<QUndoCommand> command) override { command->redo(); }
    bbx::Tbbx_collection Collection;
};

bbx::Tbbx_model LargeModel() {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> position(-128, 128), radius(4, 40);
    std::uniform_int_distribution<std::uint32_t> colour(0, 0xFFFFFF);
    bbx::Tbbx_model model;
    for (int i = 0; i < kElements; ++i) {
        if (i % 10 == 9)
            model.AddElement(bbx::MakeSeries(colour(random), 3, position(random), position(random), position(random),
                                             radius(random), position(random), position(random), position(random),
                                             radius(random)));
        else
            model.AddElement(bbx::MakeSphere(colour(random), position(random), position(random), position(random),
                                             radius(random)));
    }
    return model;
}

void ShowAtBenchSize(editor::TfrmModel& window) {
    window.resize(window.size() + (QSize(1100, 700) - window.widget()->size()));
    window.show();
    // Painting needs the window on the (offscreen) screen.
    while (!window.windowHandle() || !window.windowHandle()->isExposed()) QCoreApplication::processEvents();
}

void BM_RedrawFourViews(benchmark::State& state) {
    Application();
    TBenchHost host;
    bbx::Tbbx_model& model = *host.Collection.Add();
    model.AppendModel(LargeModel());
    editor::TfrmModel window(model, host);
    ShowAtBenchSize(window);
    window.SelectElement(kElements / 2);
    for (auto _ : state) window.RedrawViews();
}

void BM_SelectionClickOnAHugeModel(benchmark::State& state) {
    Application();
    TBenchHost host;
    bbx::Tbbx_model& model = *host.Collection.Add();
    // 199,992 spheres of one series and eight single spheres.
    model.AddElement(bbx::MakeSeries(0x4080FF, 199990, -120, -100, -60, 6, 120, 100, 60, 6));
    for (int i = 0; i < 8; ++i)
        model.AddElement(bbx::MakeSphere(0xFFFFFF, static_cast<float>(i * 20 - 70), 80, 0, 8));
    editor::TfrmModel window(model, host);
    ShowAtBenchSize(window);
    QWidget* front = window.findChild<QWidget*>("PaintBox1");
    const QPoint centre(front->width() / 2, front->height() / 2);
    // On a single sphere's centre, then on empty space: select, deselect.
    const QPoint places[] = {centre + QPoint(-70, 80), centre + QPoint(0, -130)};
    int click = 0;
    for (auto _ : state) {
        const QPointF at = places[click++ % 2];
        QMouseEvent press(QEvent::MouseButtonPress, at, front->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, {});
        QApplication::sendEvent(front, &press);
    }
    if (window.Model().Count() != 9) state.SkipWithError("the model changed");
}

void BM_OrthoView(benchmark::State& state) {
    Application();
    const bbx::Tbbx_model model = LargeModel();
    QImage image(kViewSize, QImage::Format_RGB32);
    const editor::TOrthoCamera camera;
    for (auto _ : state) editor::PaintOrthoView(image, editor::kFrontView, camera, model, kElements / 2);
}

void BM_PerspectiveView(benchmark::State& state) {
    const bbx::Tbbx_model model = LargeModel();
    for (auto _ : state) {
        const QImage image = editor::RenderModelImage(
            &model, {kViewSize.width(), kViewSize.height(), 0.3f, 0.2f, 1250}, 0, QRect(QPoint(0, 0), kViewSize));
        benchmark::DoNotOptimize(image.constBits());
    }
}

BENCHMARK(BM_RedrawFourViews)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelectionClickOnAHugeModel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OrthoView)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PerspectiveView)->Unit(benchmark::kMillisecond);

}  // namespace
