// Working in the views themselves: dragging elements and series ends, the
// wheel's zoom about the pointer, the middle button's pan, fitting the views
// to the model, turning the perspective view, the faint in-between spheres
// of a series, and views drawn at the screen's own resolution. CTest runs it
// at the scale factors 1, 1.5 and 2.
#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <QTreeWidget>
#include <QWheelEvent>
#include <cmath>
#include <cstring>

#include "core/pixel_buffer.h"
#include "core/render_model.h"
#include "core/software_canvas.h"
#include "editor/application_setup.h"
#include "editor/ortho_view.h"
#include "editor/paint_box.h"
#include "editor/qt_convert.h"
#include "editor/view_navigation.h"
#include "support/editor_fixture.h"

using editor::TfrmModel;

namespace {

// An editor with one empty model open in its editing window, whose views
// are each about 400 × 300 view pixels (a little less at a large scale
// factor, where the offscreen screen is small).
class TViewsFixture : public TEditorFixture {
public:
    TViewsFixture() {
        List().AddModel();
        ClickRow(0);
        Window = List().OpenModelWindow(*List().SelectedModel());
        const QWidget* views = Window->findChild<QWidget*>("Client");
        Window->resize(Window->size() + (QSize(2 * 401 + 150, 602) - views->size()));
    }
    TfrmModel& W() const { return *Window; }
    bbx::Tbbx_model& M() const { return Window->Model(); }
    editor::TPaintBox* Box(const char* name) const { return Window->findChild<editor::TPaintBox*>(name); }
    QLineEdit* Edit(const char* name) const { return Window->findChild<QLineEdit*>(name); }
    const editor::TOrthoCamera& Camera() const { return Window->Camera(); }
    // The file as it would be saved now.
    std::string Bytes() const {
        const QString path = PathOf("now.bbx");
        List().Collection().SaveToFile(path.toStdString());
        return ReadBytes(path);
    }
    // Sets the flat views' zoom by the front view handle's Ctrl-drag, which
    // takes the pointer's place: (X + Y) / 200 above the zoom at the press.
    void SetZoom(float zoom) const {
        QWidget* handle = Window->findChild<QWidget*>("Panel1");
        // Zoom 0 is where every move far enough up and left ends.
        const int sum = zoom > 0 ? static_cast<int>(std::lround((zoom - Camera().Zoom) * 200)) : -100000;
        // QTest takes the point (0, 0) for the widget's centre.
        if (sum == 0) return;
        QTest::mousePress(handle, Qt::LeftButton, Qt::ControlModifier, {1, 1});
        QTest::mouseMove(handle, {sum / 2, sum - sum / 2});
        QTest::mouseRelease(handle, Qt::LeftButton, Qt::ControlModifier, {sum / 2, sum - sum / 2});
        QCOMPARE(Camera().Zoom, zoom);
    }

private:
    TfrmModel* Window;
};

// A drag in steps, as a hand makes it.
void Drag(QWidget* view, QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton,
          Qt::KeyboardModifiers modifiers = {}) {
    QTest::mousePress(view, button, modifiers, from);
    for (int step = 1; step <= 4; ++step) QTest::mouseMove(view, from + (to - from) * step / 4);
    QTest::mouseRelease(view, button, modifiers, to);
}

void Wheel(QWidget* view, QPoint at, int turn) {
    QWheelEvent event(at, view->mapToGlobal(at), {}, {0, turn}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view, &event);
}

QPoint Centre(const QWidget* view) { return {view->width() / 2, view->height() / 2}; }

// Where a flat view draws the model coordinates (h, v) of its axes.
QPoint Screen(const QWidget* view, const editor::TOrthoCamera& camera, editor::TOrthoAxes axes, float h, float v) {
    return {editor::ToScreen(view->width() / 2, h, camera.Zoom, camera.Pan(axes.Horizontal)),
            editor::ToScreen(view->height() / 2, v, camera.Zoom, camera.Pan(axes.Vertical))};
}

QImage Shown(QWidget* view) { return view->grab().toImage(); }

// The device pixel at which a flat view at zoom 1 without pans draws the
// model coordinates (h, v) of its axes.
QPoint DevicePixel(const QWidget* view, double h, double v) {
    const double s = view->devicePixelRatioF();
    const auto pixel = [s](double value) { return static_cast<int>(std::lrint(value * s)); };
    return {pixel(h) + pixel(view->width() / 2), pixel(v) + pixel(view->height() / 2)};
}

QRgb Outline(bbx::TColor color) { return editor::ToQColor(editor::HighlightColor(color)).rgb(); }

bool Near(double a, double b) { return std::abs(a - b) < 1e-3; }

}  // namespace

class DirectManipulationTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { editor::SetUpApplication(*qApp); }

    void ADragMovesTheSphereByThePointersWayAtEachZoom() {
        TViewsFixture fx;
        fx.W().InsertSphere();
        const std::string start = fx.Bytes();
        float x = 0, y = 0, z = 0;
        for (const float zoom : {1.0f, 2.0f, 0.5f, 3.0f}) {
            fx.SetZoom(zoom);
            QWidget* front = fx.Box("PaintBox1");
            const QPoint at = Screen(front, fx.Camera(), editor::kFrontView, x, y) + QPoint(5, 6);  // inside, off the handle
            Drag(front, at, at + QPoint(30, -21));
            x += 30 / zoom;
            y += -21 / zoom;
            QCOMPARE(fx.M().GetElement(0).X1, x);
            QCOMPARE(fx.M().GetElement(0).Y1, y);
            QCOMPARE(fx.M().GetElement(0).Z1, z);
            // The side view moves z across and y down; the top view x and z.
            QWidget* side = fx.Box("PaintBox2");
            const QPoint onSide = Screen(side, fx.Camera(), editor::kSideView, z, y);
            Drag(side, onSide, onSide + QPoint(-15, 12));
            z += -15 / zoom;
            y += 12 / zoom;
            QWidget* top = fx.Box("PaintBox3");
            const QPoint onTop = Screen(top, fx.Camera(), editor::kTopView, x, z);
            Drag(top, onTop, onTop + QPoint(9, 24));
            x += 9 / zoom;
            z += 24 / zoom;
            const bbx::TSphereElement e = fx.M().GetElement(0);
            QVERIFY(Near(e.X1, x) && Near(e.Y1, y) && Near(e.Z1, z));
            QCOMPARE(e.R1, 30.0f);
            QCOMPARE(fx.W().Selected(), 0);
        }
        // The fields show where it went.
        QCOMPARE(fx.Edit("edtx1")->text(), editor::RealText(fx.M().GetElement(0).X1));

        // Each drag is one step: twelve undos take the sphere back to where
        // it was inserted, byte for byte, and twelve redos bring it back.
        const bbx::TSphereElement end = fx.M().GetElement(0);
        for (int i = 0; i < 12; ++i) fx.List().Undo();
        QCOMPARE(fx.Bytes(), start);
        QCOMPARE(fx.M().Count(), 1);
        for (int i = 0; i < 12; ++i) fx.List().Redo();
        QCOMPARE(std::memcmp(&fx.M().ElementList()[0], &end, sizeof end), 0);
    }

    void DraggedValuesAreTidyAtAnyZoom() {
        TViewsFixture fx;
        fx.W().InsertSphere();
        QWidget* front = fx.Box("PaintBox1");
        for (int i = 0; i < 4; ++i) Wheel(front, Centre(front), 120);  // zoom 1.25^4 = 2.44140625
        const QPoint at = Screen(front, fx.Camera(), editor::kFrontView, 0, 0);
        Drag(front, at, at + QPoint(60, -31));
        // 60 / 2.44 = 24.576 and -31 / 2.44 = -12.70 in steps of 0.25.
        QCOMPARE(fx.M().GetElement(0).X1, 24.5f);
        QCOMPARE(fx.M().GetElement(0).Y1, -12.75f);
        QCOMPARE(fx.Edit("edtx1")->text(), QString("24.5"));
    }

    void APressThatDoesNotMoveIsAClick() {
        TViewsFixture fx;
        fx.M().AddElement(bbx::MakeSphere(0xFF, 0, 0, 0, 30));
        fx.M().AddElement(bbx::MakeSphere(0xFF00, 20, 0, 0, 30));
        fx.W().ModelChanged();
        const std::string start = fx.Bytes();
        QWidget* front = fx.Box("PaintBox1");
        const QPoint c = Centre(front);
        // A press on a circle selects at once; a wobble below the drag
        // distance moves nothing.
        QTest::mousePress(front, Qt::LeftButton, {}, c + QPoint(10, 10));
        QCOMPARE(fx.W().Selected(), 0);
        QTest::mouseMove(front, c + QPoint(12, 11));
        QTest::mouseRelease(front, Qt::LeftButton, {}, c + QPoint(12, 11));
        QCOMPARE(fx.Bytes(), start);
        // The selected sphere's handle selects it again...
        QTest::mouseClick(front, Qt::LeftButton, {}, c + QPoint(21, 1));
        QCOMPARE(fx.W().Selected(), 1);
        // ... and a click where both circles overlap selects the lower one,
        // as before, though a drag from there would move the selected one.
        QTest::mouseClick(front, Qt::LeftButton, {}, c + QPoint(10, 10));
        QCOMPARE(fx.W().Selected(), 0);
        fx.W().SelectElement(1);
        Drag(front, c + QPoint(10, 10), c + QPoint(10, 50));
        QCOMPARE(fx.W().Selected(), 1);
        QCOMPARE(fx.M().GetElement(1).Y1, 40.0f);
        QCOMPARE(fx.M().GetElement(0).Y1, 0.0f);
        // A press on an unselected sphere selects it and a drag moves it.
        Drag(front, c + QPoint(-25, 0), c + QPoint(-25, -30));
        QCOMPARE(fx.W().Selected(), 0);
        QCOMPARE(fx.M().GetElement(0).Y1, -30.0f);
        // A drag from empty space clears the selection and moves nothing.
        const std::string before = fx.Bytes();
        Drag(front, {5, 5}, {60, 60});
        QCOMPARE(fx.W().Selected(), -1);
        QCOMPARE(fx.Bytes(), before);
        // The right button selects and never drags.
        Drag(front, c + QPoint(-25, -30), c + QPoint(40, 40), Qt::RightButton);
        QCOMPARE(fx.W().Selected(), 0);
        QCOMPARE(fx.Bytes(), before);
        // The perspective view selects nothing.
        QTest::mouseClick(fx.Box("PaintBox4"), Qt::LeftButton, {}, Centre(front));
        QCOMPARE(fx.W().Selected(), 0);
    }

    void ADragMovesTheSeriesEndUnderThePointerOrWithShiftTheWholeSeries() {
        TViewsFixture fx;
        fx.W().InsertSeries();  // (0, -30, 0) to (0, 30, 0), both of radius 30
        QWidget* front = fx.Box("PaintBox1");
        const QPoint c = Centre(front);
        // The second end's handle, then inside the first end's circle
        // (nearer its centre than the second's).
        Drag(front, c + QPoint(1, 30), c + QPoint(21, 40));
        bbx::TSphereElement e = fx.M().GetElement(0);
        QCOMPARE(e.X2, 20.0f);
        QCOMPARE(e.Y2, 40.0f);
        QCOMPARE(e.X1, 0.0f);
        QCOMPARE(e.Y1, -30.0f);
        Drag(front, c + QPoint(-8, -45), c + QPoint(-8 - 12, -45 - 10));
        e = fx.M().GetElement(0);
        QCOMPARE(e.X1, -12.0f);
        QCOMPARE(e.Y1, -40.0f);
        QCOMPARE(e.X2, 20.0f);
        // The top view moves the ends' z.
        QWidget* top = fx.Box("PaintBox3");
        fx.SetZoom(2);
        Drag(top, Screen(top, fx.Camera(), editor::kTopView, 20, 0), Screen(top, fx.Camera(), editor::kTopView, 20, 0) + QPoint(0, 16));
        QCOMPARE(fx.M().GetElement(0).Z2, 8.0f);
        QCOMPARE(fx.M().GetElement(0).Z1, 0.0f);
        // With Shift both ends move together.
        const QPoint first = Screen(front, fx.Camera(), editor::kFrontView, -12, -40);
        Drag(front, first, first + QPoint(10, 20), Qt::LeftButton, Qt::ShiftModifier);
        e = fx.M().GetElement(0);
        QCOMPARE(e.X1, -7.0f);
        QCOMPARE(e.Y1, -30.0f);
        QCOMPARE(e.X2, 25.0f);
        QCOMPARE(e.Y2, 50.0f);
        QCOMPARE(e.C, 3);
        QCOMPARE(fx.Edit("edty2")->text(), QString("50"));
        // Four drags, four steps.
        for (int i = 0; i < 4; ++i) fx.List().Undo();
        e = fx.M().GetElement(0);
        QCOMPARE(e.Y1, -30.0f);
        QCOMPARE(e.Y2, 30.0f);
        QCOMPARE(e.X1, 0.0f);
    }

    void AnUndoDuringADragEndsIt() {
        TViewsFixture fx;
        fx.W().InsertSphere();
        QWidget* front = fx.Box("PaintBox1");
        const QPoint c = Centre(front);
        QTest::mousePress(front, Qt::LeftButton, {}, c);
        QTest::mouseMove(front, c + QPoint(40, 0));
        QCOMPARE(fx.M().GetElement(0).X1, 40.0f);
        fx.List().Undo();  // the part dragged so far becomes a step and is undone
        QCOMPARE(fx.M().GetElement(0).X1, 0.0f);
        QTest::mouseMove(front, c + QPoint(80, 0));
        QTest::mouseRelease(front, Qt::LeftButton, {}, c + QPoint(80, 0));
        QCOMPARE(fx.M().Count(), 1);
        QCOMPARE(fx.M().GetElement(0).X1, 0.0f);
        fx.List().Redo();
        QCOMPARE(fx.M().GetElement(0).X1, 40.0f);
    }

    void APressAfterALostReleaseEndsTheDragFirst() {
        TViewsFixture fx;
        fx.W().InsertSphere();
        fx.W().InsertSphere();
        QWidget* front = fx.Box("PaintBox1");
        const QPoint c = Centre(front);
        QTest::mousePress(front, Qt::LeftButton, {}, c);
        QTest::mouseMove(front, c + QPoint(0, 50));
        // The release went elsewhere; the next press is a new click.
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), front->mapToGlobal(QPointF(5, 5)), Qt::LeftButton,
                          Qt::LeftButton, {});
        QApplication::sendEvent(front, &press);
        QCOMPARE(fx.W().Selected(), -1);
        QCOMPARE(fx.M().GetElement(1).Y1, 50.0f);
        QTest::mouseRelease(front, Qt::LeftButton, {}, {5, 5});
        fx.List().Undo();
        QCOMPARE(fx.M().GetElement(1).Y1, 0.0f);
        QCOMPARE(fx.M().Count(), 2);
    }

    void TheWheelZoomsAboutThePointer() {
        TViewsFixture fx;
        QWidget* front = fx.Box("PaintBox1");
        QWidget* side = fx.Box("PaintBox2");
        const QPoint at = Centre(front) + QPoint(100, -50);  // model x = 100, y = -50 at zoom 1
        Wheel(front, at, 120);
        QCOMPARE(fx.Camera().Zoom, 1.25f);
        QCOMPARE(Screen(front, fx.Camera(), editor::kFrontView, 100, -50), at);
        Wheel(front, at, 3 * 120);
        Wheel(front, at, -120);
        QVERIFY(Near(fx.Camera().Zoom, std::pow(1.25, 3)));
        QCOMPARE(Screen(front, fx.Camera(), editor::kFrontView, 100, -50), at);
        // The side view shares y and keeps z = 0 at its centre.
        QCOMPARE(Screen(side, fx.Camera(), editor::kSideView, 0, -50).y(), at.y());
        QCOMPARE(Screen(side, fx.Camera(), editor::kSideView, 0, -50).x(), Centre(side).x());
        // Zooming in the side view keeps its own point.
        const QPoint onSide = Centre(side) + QPoint(-150, 100);
        const double z = editor::ModelCoordinate(onSide.x(), side->width() / 2, fx.Camera().Zoom, fx.Camera().PanZ);
        const double y = editor::ModelCoordinate(onSide.y(), side->height() / 2, fx.Camera().Zoom, fx.Camera().PanY);
        Wheel(side, onSide, -2 * 120);
        QVERIFY(Near(editor::ModelCoordinate(onSide.x(), side->width() / 2, fx.Camera().Zoom, fx.Camera().PanZ), z));
        QVERIFY(Near(editor::ModelCoordinate(onSide.y(), side->height() / 2, fx.Camera().Zoom, fx.Camera().PanY), y));
        // A fine wheel turns a part of a notch.
        const float before = fx.Camera().Zoom;
        Wheel(front, at, 60);
        QVERIFY(Near(fx.Camera().Zoom, before * std::sqrt(1.25)));
        // The zoom stays within its limits, and leaves zoom 0 (a Ctrl-drag
        // of a handle can set it) at the first turn.
        for (int i = 0; i < 60; ++i) Wheel(front, at, -120);
        QCOMPARE(fx.Camera().Zoom, editor::kLeastZoom);
        fx.SetZoom(0);
        Wheel(front, at, 120);
        QVERIFY(fx.Camera().Zoom > 0);
        for (int i = 0; i < 80; ++i) Wheel(front, at, 120);
        QCOMPARE(fx.Camera().Zoom, editor::kMostZoom);
        // The status line follows.
        QVERIFY2(fx.W().StatusText().contains("1024"), qPrintable(fx.W().StatusText()));
    }

    void TheMiddleButtonPansAndAMiddleClickStillSelects() {
        TViewsFixture fx;
        fx.W().InsertSphere();
        fx.W().SelectElement(-1);
        const std::string start = fx.Bytes();
        QWidget* front = fx.Box("PaintBox1");
        QWidget* top = fx.Box("PaintBox3");
        fx.SetZoom(2);
        Drag(front, {100, 100}, {130, 80}, Qt::MiddleButton);
        QCOMPARE(fx.Camera().PanX, 30.0f);
        QCOMPARE(fx.Camera().PanY, -20.0f);
        Drag(top, {10, 10}, {10, 50}, Qt::MiddleButton);
        QCOMPARE(fx.Camera().PanZ, 40.0f);
        QCOMPARE(fx.Camera().PanX, 30.0f);
        QCOMPARE(fx.Bytes(), start);
        QCOMPARE(fx.W().Selected(), -1);
        // The sphere is drawn where the pans put it, and the handle between
        // the views still sets them back.
        const QPoint sphere = Screen(front, fx.Camera(), editor::kFrontView, 0, 0);
        QCOMPARE(sphere, Centre(front) + QPoint(30, -20));
        QTest::mouseClick(front, Qt::MiddleButton, {}, sphere);
        QCOMPARE(fx.W().Selected(), 0);
        QTest::mouseDClick(fx.W().findChild<QWidget*>("Panel1"), Qt::LeftButton, {}, {3, 3});
        QCOMPARE(fx.Camera().PanX, 0.0f);
        QCOMPARE(fx.Camera().PanY, 0.0f);
        QCOMPARE(fx.Camera().PanZ, 40.0f);
        QCOMPARE(fx.Camera().Zoom, 2.0f);
    }

    void FitShowsTheWholeModelInEveryView() {
        TViewsFixture fx;
        fx.M().AddElement(bbx::MakeSphere(0xFF, 500, -300, 200, 50));
        fx.M().AddElement(bbx::MakeSeries(0xFF00, 4, -100, 50, -400, 20, -150, 80, -380, -35));
        fx.M().AddElement(bbx::MakeSphere(0xFF0000, std::nanf(""), 0, 0, 1e30f));  // left out
        fx.W().ModelChanged();
        QWidget* front = fx.Box("PaintBox1");
        QTest::mouseClick(front, Qt::LeftButton, {}, {2, 2});
        QTest::keyClick(front, Qt::Key_F);
        const editor::TOrthoCamera camera = fx.Camera();
        QVERIFY(camera.Zoom < 1);
        // Every end's circle lies inside every view, and the model fills
        // most of at least one of them.
        bool filled = false;
        for (const auto& [name, axes] : {std::pair{"PaintBox1", editor::kFrontView}, {"PaintBox2", editor::kSideView},
                                         {"PaintBox3", editor::kTopView}}) {
            QWidget* view = fx.Box(name);
            int left = view->width(), right = 0, topmost = view->height(), bottom = 0;
            for (const bbx::TSphereElement& e : {fx.M().GetElement(0), fx.M().GetElement(1)}) {
                for (int end = 0; end < 2; ++end) {
                    const float xyz[3] = {end ? e.X2 : e.X1, end ? e.Y2 : e.Y1, end ? e.Z2 : e.Z1};
                    const auto along = [&](editor::TAxis a) { return xyz[a == editor::TAxis::X ? 0 : a == editor::TAxis::Y ? 1 : 2]; };
                    const QPoint c = Screen(view, camera, axes, along(axes.Horizontal), along(axes.Vertical));
                    const int r = static_cast<int>(std::ceil(std::abs(end ? e.R2 : e.R1) * camera.Zoom));
                    left = std::min(left, c.x() - r);
                    right = std::max(right, c.x() + r);
                    topmost = std::min(topmost, c.y() - r);
                    bottom = std::max(bottom, c.y() + r);
                }
            }
            QVERIFY2(left >= 0 && right < view->width() && topmost >= 0 && bottom < view->height(), name);
            filled = filled || right - left > view->width() * 8 / 10 || bottom - topmost > view->height() * 8 / 10;
        }
        QVERIFY(filled);
        QCOMPARE(QString::number(camera.Zoom), QString::number(camera.Zoom, 'g', 2));  // a plain number

        // The perspective view shows it whole at the angles it has: nothing
        // at its border.
        QWidget* perspective = fx.Box("PaintBox4");
        for (const QPoint turn : {QPoint(0, 0), QPoint(80, 0), QPoint(40, 120), QPoint(-150, 60)}) {
            Drag(perspective, {50, 50}, QPoint(50, 50) + turn);
            QTest::keyClick(perspective, Qt::Key_F);
            const QImage shown = Shown(perspective);
            int border = 0, inside = 0;
            for (int y = 0; y < shown.height(); ++y)
                for (int x = 0; x < shown.width(); ++x) {
                    const bool lit = (shown.pixel(x, y) & 0xFFFFFF) != 0;
                    const bool edge = x == 0 || y == 0 || x == shown.width() - 1 || y == shown.height() - 1;
                    (edge ? border : inside) += lit;
                }
            QCOMPARE(border, 0);
            QVERIFY(inside > 100);
        }

        // An empty model fits the guides at ±128.
        for (int i = 0; i < 3; ++i) fx.M().DeleteElement(0);
        fx.W().ModelChanged();
        fx.W().FitToModel();
        const QImage shown = Shown(front);
        const QPoint low = Screen(front, fx.Camera(), editor::kFrontView, -128, -128);
        const QPoint high = Screen(front, fx.Camera(), editor::kFrontView, 128, 128);
        QVERIFY(low.x() > 0 && low.y() > 0 && high.x() < front->width() && high.y() < front->height());
        QVERIFY(high.y() - low.y() > front->height() * 8 / 10);
        QCOMPARE(shown.pixel(0, 0), qRgb(0, 0, 0));
    }

    void TheFitKeyLeavesTextFieldsAndTheListAlone() {
        TViewsFixture fx;
        fx.W().InsertSphere();
        QLineEdit* x1 = fx.Edit("edtx1");
        x1->setFocus();
        x1->selectAll();
        QTest::keyClick(x1, Qt::Key_F);
        QCOMPARE(x1->text(), QString("f"));
        QCOMPARE(fx.Camera().Zoom, 1.0f);
        QTest::keyClick(x1, Qt::Key_Escape);

        // With the list window current the key reaches the list's search by typing.
        fx.List().AddModel();
        fx.ClickRow(0);
        QTest::keyClick(fx.Edit("edtx1"), Qt::Key_Return);
        QLineEdit* name = fx.List().findChild<QLineEdit*>("edtNazwa");
        TypeAndEnter(name, "Fala");
        fx.ClickRow(1);
        QCOMPARE(fx.ActiveModelWindow(), nullptr);
        QTest::keyClick(&fx.ListView(), Qt::Key_F);
        QCOMPARE(fx.ListView().currentItem(), fx.ListView().topLevelItem(0));
        QCOMPARE(fx.Camera().Zoom, 1.0f);
    }

    void ALeftDragTurnsThePerspectiveViewWithoutAHistoryStep() {
        TViewsFixture fx;
        fx.W().InsertSeries();
        QWidget* perspective = fx.Box("PaintBox4");
        const QImage before = Shown(perspective);
        Drag(perspective, {100, 100}, {150, 80});
        QVERIFY(Near(fx.W().KX(), 0.5));
        QVERIFY(Near(fx.W().KY(), -0.2));
        const QImage turned = Shown(perspective);
        QVERIFY(turned != before);
        // Exactly what the renderer draws at those angles.
        const double scale = perspective->devicePixelRatioF();
        bbx::TPixelBuffer expected(turned.width(), turned.height(), bbx::TPixelFormat::Xrgb8888);
        bbx::TSoftwareCanvas canvas(expected);
        bbx::RenderModel(fx.M(), canvas, turned.width(), turned.height(), fx.W().KX(), fx.W().KY(),
                         static_cast<float>(fx.W().R() * scale));
        int mismatches = 0;
        for (int y = 0; y < turned.height(); ++y)
            for (int x = 0; x < turned.width(); ++x) mismatches += (turned.pixel(x, y) & 0xFFFFFF) != expected.GetPixel(x, y);
        QCOMPARE(mismatches, 0);
        // The wheel scales it.
        Wheel(perspective, {10, 10}, 120);
        QCOMPARE(fx.W().R(), 1250 * 1.25f);
        // The turn is not file data: an undo takes back the inserted series.
        fx.List().Undo();
        QCOMPARE(fx.M().Count(), 0);
        QVERIFY(Near(fx.W().KX(), 0.5));
    }

    void ASeriesShowsItsInnerSpheresFaintly() {
        TViewsFixture fx;
        const bbx::TColor color = bbx::RGB(200, 40, 90);
        fx.M().AddElement(bbx::MakeSeries(color, 3, -60, 50, 0, 10, 60, 50, 0, 10));
        fx.M().AddElement(bbx::MakeSeries(color, 0, -60, -50, 0, 10, 60, -50, 0, 10));
        fx.W().ModelChanged();
        QWidget* front = fx.Box("PaintBox1");
        const QImage shown = Shown(front);
        const QRgb faint = editor::ToQColor(editor::FaintColor(color)).rgb();
        const auto at = [&](double x, double y) { return shown.pixel(DevicePixel(front, x, y)); };
        // Three inner spheres at x = -30, 0 and 30, above the line between the ends.
        for (const double x : {-30.0, 30.0}) QCOMPARE(at(x, 40), faint);
        QCOMPARE(at(0, 40), qRgb(192, 192, 192));  // under the axis line
        QCOMPARE(at(0, 60), qRgb(192, 192, 192));
        QCOMPARE(at(-15, 40), qRgb(0, 0, 0));
        QCOMPARE(at(-60, 40), Outline(color));  // the ends keep their outlines
        QVERIFY(qRed(faint) < qRed(Outline(color)) / 2);
        // C = 0 has no spheres between its ends.
        QCOMPARE(at(-30, -60), qRgb(0, 0, 0));

        // A dense series is drawn as a faint tube, and quickly.
        fx.M().SetElement(1, bbx::MakeSeries(color, 1000000, -60, -50, 0, 10, 60, -50, 0, 10));
        fx.W().ModelChanged();
        const QImage tube = Shown(front);
        for (const double x : {-45.0, -30.0, -17.0, 3.0, 23.0}) QCOMPARE(tube.pixel(DevicePixel(front, x, -60)), faint);
    }

    void TheViewsAreDrawnAtTheScreensResolution() {
        TViewsFixture fx;
        QWidget* front = fx.Box("PaintBox1");
        const double s = front->devicePixelRatioF();
        const QString scale = qEnvironmentVariable("QT_SCALE_FACTOR", "1");
        QCOMPARE(s, scale.toDouble());
        // Off both axes, and of a radius whose device size an enlarged
        // picture would miss at 1.5 and 2: 30.4 · 1.5 = 45.6, 30.4 · 2 = 60.8.
        const bbx::TColor color = bbx::RGB(0, 200, 0);
        fx.M().AddElement(bbx::MakeSphere(color, 40, 40, 0, 30.4f));
        fx.W().ModelChanged();
        const QImage shown = Shown(front);
        QCOMPARE(shown.size(), editor::DevicePixels(front->size(), s));
        const int cx = DevicePixel(front, 40, 40).x();
        const int cy = DevicePixel(front, 40, 40).y();
        const int r = static_cast<int>(std::lrint(30.4 * s));
        const int width = static_cast<int>(std::floor(s));
        QCOMPARE(shown.pixel(cx, cy - r), Outline(color));
        QCOMPARE(shown.pixel(cx, cy - r - 1), qRgb(0, 0, 0));
        QCOMPARE(shown.pixel(cx + r + width - 1, cy), Outline(color));
        QCOMPARE(shown.pixel(cx + r + width, cy), qRgb(0, 0, 0));
        // Lines are whole device pixels wide: the guide at x = 128.
        const int guide = DevicePixel(front, 128, 0).x();
        for (int k = 0; k < width; ++k) QCOMPARE(shown.pixel(guide + k, 3), qRgb(128, 128, 128));
        QCOMPARE(shown.pixel(guide - 1, 3), qRgb(0, 0, 0));
        QCOMPARE(shown.pixel(guide + width, 3), qRgb(0, 0, 0));
        // The pointer still meets what is drawn: a click on the centre selects it.
        QTest::mouseClick(front, Qt::LeftButton, {}, Centre(front) + QPoint(40, 40));
        QCOMPARE(fx.W().Selected(), 0);
    }
};

QTEST_MAIN(DirectManipulationTest)
#include "direct_manipulation_test.moc"
