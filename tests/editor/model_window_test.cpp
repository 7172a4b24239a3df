// The model editing window: views, hit testing, fields and their handles, view
// handles, element commands and the clipboard text, through the real window.
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include "core/pixel_buffer.h"
#include "core/render_model.h"
#include "core/software_canvas.h"
#include "editor/application_setup.h"
#include "editor/drag_handle.h"
#include "editor/paint_box.h"
#include "support/dialog_answerer.h"
#include "support/editor_fixture.h"

using editor::TfrmModel;

namespace {

// An editor with one empty model open in its editing window, whose views are
// each 400 × 300 pixels.
class TModelWindowFixture : public TEditorFixture {
public:
    TModelWindowFixture() {
        List().AddModel();
        ClickRow(0);
        Window = List().OpenModelWindow(*List().SelectedModel());
        QWidget* client = Window->findChild<QWidget*>("Client");
        Window->resize(Window->size() + (QSize(2 * 401 + 150, 602) - client->size()));
    }
    TfrmModel& W() const { return *Window; }
    bbx::Tbbx_model& M() const { return Window->Model(); }
    QLineEdit* Edit(const char* name) const { return Window->findChild<QLineEdit*>(name); }
    QWidget* Child(const char* name) const { return Window->findChild<QWidget*>(name); }
    QImage View(const char* name) const { return Window->findChild<editor::TPaintBox*>(name)->grab().toImage(); }

private:
    TfrmModel* Window;
};

// QTest takes the point (0, 0) for the widget's centre: tests press elsewhere.
void Drag(QWidget* handle, QPoint from, QPoint to, Qt::KeyboardModifiers modifiers = {}) {
    QTest::mousePress(handle, Qt::LeftButton, modifiers, from);
    QTest::mouseMove(handle, to);
    QTest::mouseRelease(handle, Qt::LeftButton, modifiers, to);
}

QRgb Rgb(int r, int g, int b) { return qRgb(r, g, b); }

}  // namespace

class ModelWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { editor::SetUpApplication(*qApp); }

    void ViewsAreLaidOutInQuartersWithTheirHandles() {
        TModelWindowFixture fx;
        QCOMPARE(fx.Child("PaintBox1")->geometry(), QRect(0, 0, 400, 300));
        QCOMPARE(fx.Child("PaintBox2")->geometry(), QRect(402, 0, 400, 300));
        QCOMPARE(fx.Child("PaintBox3")->geometry(), QRect(0, 302, 400, 300));
        QCOMPARE(fx.Child("PaintBox4")->geometry(), QRect(402, 302, 400, 300));
        QCOMPARE(fx.Child("Panel1")->geometry(), QRect(383, 283, 16, 16));
        QCOMPARE(fx.Child("Panel4")->geometry(), QRect(403, 303, 16, 16));
        QCOMPARE(fx.Child("Panel")->geometry(), QRect(802, 0, 150, 602));
        QCOMPARE(fx.Child("PanelInside")->geometry(), QRect(0, 301 - 176, 150, 353));
        QCOMPARE(fx.W().windowTitle(), QString("Model 0"));
    }

    void InsertSphereShowsAHatchedCircleAndFillsTheFields() {
        TModelWindowFixture fx;
        fx.W().InsertSphere();
        QCOMPARE(fx.W().Selected(), 0);
        const QImage front = fx.View("PaintBox1");
        QCOMPARE(front.pixel(170, 150), Rgb(255, 255, 255));  // the outline, over the axis line
        QCOMPARE(front.pixel(230, 150), Rgb(255, 255, 255));
        QCOMPARE(front.pixel(200, 120), Rgb(255, 255, 255));
        QCOMPARE(front.pixel(165, 140), Rgb(0, 0, 0));         // outside
        QCOMPARE(front.pixel(300, 150), Rgb(192, 192, 192));   // the axis line
        QCOMPARE(front.pixel(328, 40), Rgb(128, 128, 128));    // the guide line at x = 128
        int hatch = 0;
        for (int y = 125; y < 145; ++y)
            for (int x = 178; x < 196; ++x) hatch += front.pixel(x, y) == Rgb(255, 255, 255);
        QVERIFY(hatch > 20 && hatch < 300);

        for (const char* name : {"edtx1", "edty1", "edtz1"}) QCOMPARE(fx.Edit(name)->text(), QString("0"));
        QCOMPARE(fx.Edit("edtr1")->text(), QString("30"));
        for (const char* name : {"edtcr", "edtcg", "edtcb"}) {
            QCOMPARE(fx.Edit(name)->text(), QString("255"));
            QVERIFY(fx.Edit(name)->isEnabled());
        }
        for (const char* name : {"edtx2", "edty2", "edtz2", "edtr2", "edtc"}) QVERIFY(!fx.Edit(name)->isEnabled());

        fx.W().InsertSeries();
        QCOMPARE(fx.M().Count(), 2);
        // The sphere, no longer selected, keeps its outline and loses its hatch.
        const QImage after = fx.View("PaintBox1");
        QCOMPARE(after.pixel(170, 150), Rgb(255, 255, 255));
        QCOMPARE(after.pixel(230, 150), Rgb(255, 255, 255));
        QCOMPARE(after.pixel(185, 135), Rgb(0, 0, 0));
        QCOMPARE(fx.Edit("edty1")->text(), QString("-30"));
        QCOMPARE(fx.Edit("edtc")->text(), QString("3"));
        QVERIFY(fx.Edit("edtc")->isEnabled() && fx.Edit("edtr2")->isEnabled());
    }

    void HugeAndStrangeValuesStillDraw() {
        TModelWindowFixture fx;
        fx.W().InsertSeries();
        Type(fx.Edit("edtr1"), "10000000");
        Type(fx.Edit("edtx2"), "1e30");
        Type(fx.Edit("edty2"), "nan");
        fx.W().InsertSphere();
        Type(fx.Edit("edtr1"), "-20");
        const QImage front = fx.View("PaintBox1");
        QCOMPARE(front.pixel(180, 150), Rgb(255, 255, 255));  // a negative radius draws its size
        QCOMPARE(fx.M().Count(), 2);
    }

    void ClicksSelectByHandleFirstThenByTheLowestCircle() {
        TModelWindowFixture fx;
        fx.M().AddElement(bbx::MakeSphere(0xFF, 0, 0, 0, 30));
        fx.M().AddElement(bbx::MakeSphere(0xFF00, 20, 0, 0, 30));
        QWidget* front = fx.Child("PaintBox1");
        QTest::mouseClick(front, Qt::LeftButton, {}, {210, 150});
        QCOMPARE(fx.W().Selected(), 0);
        QTest::mouseClick(front, Qt::LeftButton, {}, {219, 147});
        QCOMPARE(fx.W().Selected(), 1);
        QCOMPARE(fx.Edit("edtx1")->text(), QString("20"));
        QTest::mouseClick(front, Qt::RightButton, {}, {350, 40});
        QCOMPARE(fx.W().Selected(), -1);
        QVERIFY(!fx.Edit("edtx1")->isEnabled());
        // The top view shows z downward: the second sphere's handle is found there too.
        QTest::mouseClick(fx.Child("PaintBox3"), Qt::LeftButton, {}, {221, 151});
        QCOMPARE(fx.W().Selected(), 1);
        // Clicks in the perspective view select nothing.
        QTest::mouseClick(fx.Child("PaintBox4"), Qt::LeftButton, {}, {200, 150});
        QCOMPARE(fx.W().Selected(), 1);
    }

    void TypedValuesChangeTheElement() {
        TModelWindowFixture fx;
        fx.W().InsertSeries();
        Type(fx.Edit("edtx2"), "12.5");
        QCOMPARE(fx.M().GetElement(0).X2, 12.5f);
        Type(fx.Edit("edtr1"), "-4");
        QCOMPARE(fx.M().GetElement(0).R1, -4.0f);
        Type(fx.Edit("edtx2"), "abc");
        QCOMPARE(fx.M().GetElement(0).X2, 12.5f);
        QCOMPARE(fx.Edit("edtx2")->text(), QString("abc"));

        Type(fx.Edit("edtcr"), "300");
        Type(fx.Edit("edtcg"), "-1");
        Type(fx.Edit("edtcb"), "7");
        QCOMPARE(fx.M().GetElement(0).Color, bbx::RGB(44, 255, 7));
        Type(fx.Edit("edtcb"), "q");
        QCOMPARE(fx.M().GetElement(0).Color, bbx::RGB(44, 255, 7));

        // C = -1 makes a single sphere once typed; the fields follow at the next selection.
        TypeAndEnter(fx.Edit("edtc"), "-1");
        QVERIFY(bbx::IsSingleSphere(fx.M().GetElement(0)));
        QCOMPARE(fx.M().GetElement(0).X2, 12.5f);
        QVERIFY(fx.Edit("edtx2")->isEnabled());
        fx.W().SelectElement(0);
        QVERIFY(!fx.Edit("edtx2")->isEnabled());
    }

    void ControlsThatCannotActAreDisabledAndHandlesSayWhatTheyDo() {
        TModelWindowFixture fx;
        auto* button = fx.W().findChild<QPushButton*>("btnColor");
        QVERIFY(!button->isEnabled());
        for (const char* name : {"pnlx1", "pnlr1", "pnlcr", "pnlc"}) QVERIFY(!fx.Child(name)->isEnabled());
        fx.W().InsertSphere();
        QVERIFY(button->isEnabled());
        QVERIFY(fx.Child("pnlx1")->isEnabled() && fx.Child("pnlcb")->isEnabled());
        QVERIFY(!fx.Child("pnlx2")->isEnabled() && !fx.Child("pnlc")->isEnabled());
        QVERIFY(!fx.Child("pnlx1")->toolTip().isEmpty());
        QVERIFY(fx.Child("Panel1")->toolTip().contains("Ctrl"));
        QVERIFY(fx.Child("Panel4")->toolTip() != fx.Child("Panel1")->toolTip());
        // The grip: dark dots in the middle of an otherwise plain face.
        const QImage grip = fx.Child("pnlx1")->grab().toImage();
        const QColor dark = fx.Child("pnlx1")->palette().color(QPalette::Active, QPalette::Dark);
        QCOMPARE(grip.pixel(10, 10), dark.rgb());
        QVERIFY(grip.pixel(8, 10) != dark.rgb());
    }

    void TheStatusLineFollowsThePointerAndTheSelection() {
        TModelWindowFixture fx;
        QTest::mouseMove(fx.Child("PaintBox1"), {250, 100});
        QCOMPARE(fx.W().StatusText(), QString::fromUtf8("Przód: x = 50, y = -50   Powiększenie 1   Elementów: 0, żaden nie jest zaznaczony"));
        fx.W().InsertSeries();
        QTest::mouseMove(fx.Child("PaintBox3"), {190, 160});
        QCOMPARE(fx.W().StatusText(), QString::fromUtf8("Góra: x = -10, z = 10   Powiększenie 1   Element 0 z 1 (szereg)"));
        const QList<QLabel*> status = fx.Main().statusBar()->findChildren<QLabel*>();
        QStringList shown;
        for (const QLabel* label : status) shown << label->text();
        QVERIFY(shown.contains(fx.W().StatusText()));
        QVERIFY2(shown.contains("Zmieniony"), qPrintable(shown.join("|")));
        QVERIFY(fx.Main().isWindowModified());  // the file's mark, whichever child is active
    }

    void TheSeriesCountAppliesOnceTyped() {
        TModelWindowFixture fx;
        fx.W().InsertSeries();
        Type(fx.Edit("edtc"), "10000000");
        QCOMPARE(fx.M().GetElement(0).C, 3);
        QTest::keyClick(fx.Edit("edtc"), Qt::Key_Return);
        QCOMPARE(fx.M().GetElement(0).C, 10000000);
        Type(fx.Edit("edtc"), "7");
        fx.Edit("edtx1")->setFocus();
        QCOMPARE(fx.M().GetElement(0).C, 7);
        // The positions still follow every key.
        Type(fx.Edit("edtx1"), "4");
        QCOMPARE(fx.M().GetElement(0).X1, 4.0f);
    }

    void FieldHandlesFollowThePointerWithinTheirLimits() {
        TModelWindowFixture fx;
        fx.W().InsertSphere();
        Drag(fx.Child("pnlx1"), {5, 4}, {5, 24});
        QCOMPARE(fx.M().GetElement(0).X1, 10.0f);
        Drag(fx.Child("pnlr1"), {5, 10}, {5, -100});
        QCOMPARE(fx.M().GetElement(0).R1, 0.0f);
        Drag(fx.Child("pnlcg"), {5, 0}, {5, -700});
        Drag(fx.Child("pnlcb"), {5, 0}, {5, 700});
        QCOMPARE(fx.M().GetElement(0).Color, bbx::RGB(255, 0, 255));
        Drag(fx.Child("pnlcr"), {5, 0}, {5, -21});
        QCOMPARE(fx.Edit("edtcr")->text(), QString("245"));
        // The second end's fields are disabled for a single sphere.
        Drag(fx.Child("pnlx2"), {5, 0}, {5, 40});
        QCOMPARE(fx.Edit("edtx2")->text(), QString("0"));
        QCOMPARE(fx.M().GetElement(0).X2, 0.0f);

        fx.W().InsertSeries();
        Drag(fx.Child("pnlc"), {5, 0}, {5, 45});
        QCOMPARE(fx.M().GetElement(1).C, 5);
        Drag(fx.Child("pnlc"), {5, 0}, {5, -500});
        QCOMPARE(fx.M().GetElement(1).C, 0);
    }

    void ViewHandlesPanZoomAndTurnTheViews() {
        TModelWindowFixture fx;
        fx.W().InsertSphere();
        // The Ctrl-drag uses the pointer's place, not its way since the press.
        Drag(fx.Child("Panel1"), {5, 9}, {100, 100}, Qt::ControlModifier);
        QCOMPARE(fx.W().Camera().Zoom, 2.0f);
        QCOMPARE(fx.View("PaintBox2").pixel(140, 150), Rgb(255, 255, 255));  // radius 60 in the side view

        Drag(fx.Child("Panel2"), {4, 2}, {14, 22});
        QCOMPARE(fx.W().Camera().PanZ, 5.0f);
        QCOMPARE(fx.W().Camera().PanY, 10.0f);
        QCOMPARE(fx.View("PaintBox1").pixel(100, 160), Rgb(192, 192, 192));  // front view moved with PanY
        QTest::mouseDClick(fx.Child("Panel2"), Qt::LeftButton, {}, {3, 3});
        QCOMPARE(fx.W().Camera().PanZ, 0.0f);
        QCOMPARE(fx.W().Camera().PanY, 0.0f);

        Drag(fx.Child("Panel4"), {2, 4}, {52, -16});
        QCOMPARE(fx.W().KX(), 0.5f);
        QCOMPARE(fx.W().KY(), -0.2f);
        Drag(fx.Child("Panel4"), {3, 3}, {-1000, -1000}, Qt::ControlModifier);
        QCOMPARE(fx.W().R(), 0.0f);
        QTest::mouseDClick(fx.Child("Panel4"), Qt::LeftButton, {}, {3, 3});
        QCOMPARE(fx.W().KX(), 0.0f);
    }

    void ThePerspectiveViewIsTheRenderedModel() {
        TModelWindowFixture fx;
        fx.W().InsertSeries();
        Type(fx.Edit("edtcb"), "40");
        Drag(fx.Child("Panel4"), {1, 1}, {31, 11});
        bbx::TPixelBuffer expected(400, 300, bbx::TPixelFormat::Xrgb8888);
        bbx::TSoftwareCanvas canvas(expected);
        bbx::RenderModel(fx.M(), canvas, 400, 300, 0.3f, 0.1f, 1250);
        const QImage shown = fx.View("PaintBox4");
        int mismatches = 0;
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 400; ++x) mismatches += (shown.pixel(x, y) & 0xFFFFFF) != expected.GetPixel(x, y);
        QCOMPARE(mismatches, 0);
        QCOMPARE(expected.GetPixel(200, 150), 0xFFFF28u);
    }

    void CopyPasteAndCutGoThroughTheClipboardAsText() {
        TModelWindowFixture fx;
        fx.M().AddElement(bbx::MakeSeries(0x01FF8040, 2, 1.5f, -2, 3, 4, 5, 6, 7.25f, 8));
        fx.W().SelectElement(0);
        fx.W().CopySelected();
        QCOMPARE(QApplication::clipboard()->text(), QString("BBX 1.5 -2 3 4 5 6 7.25 8 33521728 2"));
        fx.W().PasteElement();
        QCOMPARE(fx.M().Count(), 2);
        QCOMPARE(fx.W().Selected(), 1);
        QCOMPARE(std::memcmp(&fx.M().ElementList()[0], &fx.M().ElementList()[1], sizeof(bbx::TSphereElement)), 0);

        for (const char* text : {"bbx 1 2 3 4 5 6 7 8 9 -1", "BBX 1 2 3 4 5 6 7 8 9", "BBX 1  2 3 4 5 6 7 8 9 -1",
                                 "BBX 1 2 3 4 x 6 7 8 9 -1"}) {
            QApplication::clipboard()->setText(text);
            fx.W().PasteElement();
        }
        QCOMPARE(fx.M().Count(), 2);
        QApplication::clipboard()->setText("BBX 1 2 3 4 5 6 7 8 9 -1 extra");
        fx.W().PasteElement();
        QCOMPARE(fx.M().Count(), 3);
        QVERIFY(bbx::IsSingleSphere(fx.M().GetElement(2)));
        QCOMPARE(fx.M().GetElement(2).R2, 8.0f);

        fx.W().SelectElement(0);
        fx.W().CutSelected();
        QCOMPARE(fx.M().Count(), 2);
        QCOMPARE(fx.W().Selected(), -1);
        QVERIFY(QApplication::clipboard()->text().startsWith("BBX 1.5"));
        fx.W().DeleteSelected();
        QCOMPARE(fx.M().Count(), 2);
    }

    void TheColourButtonUsesTheDialogAndRefusesBadFields() {
        TModelWindowFixture fx;
        TDialogAnswerer answers;
        answers.AnswerMessage(QMessageBox::Ok);
        auto* button = fx.W().findChild<QPushButton*>("btnColor");
        QCOMPARE(button->toolTip(), QString::fromUtf8("Zmień kolor..."));
        button->click();  // nothing selected: no dialog
        fx.W().InsertSphere();
        Type(fx.Edit("edtcg"), "zz");
        button->click();
        QCOMPARE(answers.Seen().size(), std::size_t(1));
        QCOMPARE(answers.Seen().at(0).Icon, QMessageBox::Critical);
        QVERIFY(answers.Seen().at(0).Text.contains("zz"));

        Type(fx.Edit("edtcg"), "9");
        answers.ChooseColor(QColor(10, 20, 30));
        button->click();
        QCOMPARE(fx.M().GetElement(0).Color, bbx::RGB(10, 20, 30));
        QVERIFY(answers.AllAnswered());
    }
};

QTEST_MAIN(ModelWindowTest)
#include "model_window_test.moc"
