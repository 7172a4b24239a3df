// The element list of the editing window, and the element commands that go
// with it: rows that follow every change, selection shared with the views,
// keys that move through the rows, duplicating an element and turning a
// sphere into a series, each one step of the history.
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>
#include <limits>

#include "editor/application_setup.h"
#include "editor/element_list.h"
#include "editor/paint_box.h"
#include "editor/sphere_series.h"
#include "support/editor_fixture.h"

using editor::TfrmModel;

namespace {

// An editor with one file of one model open in its editing window.
class TListFixture : public TEditorFixture {
public:
    TListFixture() {
        List().AddModel();
        ClickRow(0);
        Window = List().OpenModelWindow(*List().SelectedModel());
    }
    TfrmModel& W() const { return *Window; }
    bbx::Tbbx_model& M() const { return Window->Model(); }
    editor::TElementList& Rows() const { return *Window->findChild<editor::TElementList*>("ElementList"); }
    QString Cell(int row, int column) const {
        return Rows().model()->index(row, column).data().toString();
    }
    int RowCount() const { return Rows().model()->rowCount(); }
    QAction* Command(const QString& caption) const {
        for (QAction* item : Main().findChildren<QAction*>())
            if (item->text() == caption) return item;
        qFatal("no such command");
    }
    // The file's bytes as a save would write them now.
    std::string Bytes() const {
        const QString path = PathOf("state.bbx");
        List().Collection().SaveToFile(path.toStdString());
        return ReadBytes(path);
    }

private:
    TfrmModel* Window;
};

}  // namespace

class ElementListTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { editor::SetUpApplication(*qApp); }

    void RowsFollowInsertsDeletesEditsAndTheHistory() {
        TListFixture fx;
        QCOMPARE(fx.RowCount(), 0);
        fx.W().InsertSphere();
        fx.W().InsertSeries();
        QCOMPARE(fx.RowCount(), 2);
        QCOMPARE(fx.Cell(0, 0), QString("0"));
        QCOMPARE(fx.Cell(0, 1), QString("kula"));
        QCOMPARE(fx.Cell(0, 3), QString());
        QCOMPARE(fx.Cell(1, 1), QString("szereg"));
        QCOMPARE(fx.Cell(1, 3), QString("3"));
        QCOMPARE(fx.Rows().SelectedElement(), 1);

        // A typed value shows at once, before the edit is finished.
        Type(fx.W().findChild<QLineEdit*>("edtcr"), "10");
        const QIcon swatch = fx.Rows().model()->index(1, 2).data(Qt::DecorationRole).value<QIcon>();
        QCOMPARE(swatch.pixmap(16, 16).toImage().pixelColor(8, 8), QColor(10, 255, 255));
        QCOMPARE(swatch.pixmap(16, 16, QIcon::Selected).toImage().pixelColor(8, 8), QColor(10, 255, 255));
        TypeAndEnter(fx.W().findChild<QLineEdit*>("edtc"), "7");
        QCOMPARE(fx.Cell(1, 3), QString("7"));

        fx.W().SelectElement(0);
        fx.W().DeleteSelected();
        QCOMPARE(fx.RowCount(), 1);
        QCOMPARE(fx.Cell(0, 1), QString("szereg"));
        QCOMPARE(fx.Rows().SelectedElement(), -1);
        fx.List().Undo();
        QCOMPARE(fx.RowCount(), 2);
        QCOMPARE(fx.Cell(0, 1), QString("kula"));
        fx.List().Undo();  // C back to 3
        QCOMPARE(fx.Cell(1, 3), QString("3"));
        fx.W().SelectElement(1);
        fx.List().Undo();  // the colour: the selection stays
        QCOMPARE(fx.W().Selected(), 1);
        QCOMPARE(fx.Rows().SelectedElement(), 1);
        fx.List().Undo();  // the series goes
        QCOMPARE(fx.RowCount(), 1);
        fx.List().Redo();
        QCOMPARE(fx.RowCount(), 2);
        QCOMPARE(fx.Cell(1, 3), QString("3"));
    }

    void SelectionIsSharedWithTheViews() {
        TListFixture fx;
        fx.W().InsertSphere();
        fx.W().InsertSphere();
        bbx::TSphereElement far = fx.M().GetElement(1);
        far.X1 = 200;  // off the front view's centre
        fx.M().SetElement(1, far);
        fx.W().ModelChanged();
        fx.W().SelectElement(-1);
        QCOMPARE(fx.Rows().SelectedElement(), -1);

        // A click on the sphere in the front view marks its row.
        auto* front = fx.W().findChild<editor::TPaintBox*>("PaintBox1");
        QTest::mouseClick(front, Qt::LeftButton, {}, QPoint(front->width() / 2, front->height() / 2));
        QCOMPARE(fx.W().Selected(), 0);
        QCOMPARE(fx.Rows().SelectedElement(), 0);
        fx.W().SelectElement(1);
        QCOMPARE(fx.Rows().SelectedElement(), 1);

        // A click on a row selects its element in the window and its fields.
        QSignalSpy selections(&fx.W(), &TfrmModel::SelectionChanged);
        const QRect row0 = fx.Rows().visualRect(fx.Rows().model()->index(0, 1));
        QTest::mouseClick(fx.Rows().viewport(), Qt::LeftButton, {}, row0.center());
        QCOMPARE(fx.W().Selected(), 0);
        QCOMPARE(fx.W().findChild<QLineEdit*>("edtx1")->text(), QString("0"));
        QVERIFY(!selections.isEmpty());
        // Ctrl+click takes the mark away and with it the selection.
        QTest::mouseClick(fx.Rows().viewport(), Qt::LeftButton, Qt::ControlModifier, row0.center());
        QCOMPARE(fx.W().Selected(), -1);
        QVERIFY(!fx.W().findChild<QLineEdit*>("edtx1")->isEnabled());
    }

    void KeysMoveThroughTheRows() {
        TListFixture fx;
        for (int i = 0; i < 60; ++i) fx.W().InsertSphere();
        fx.W().SelectElement(-1);
        QTreeView& rows = fx.Rows();
        rows.setFocus();
        QTest::keyClick(&rows, Qt::Key_Down);
        QCOMPARE(fx.W().Selected(), 0);
        QTest::keyClick(&rows, Qt::Key_Down);
        QTest::keyClick(&rows, Qt::Key_Down);
        QCOMPARE(fx.W().Selected(), 2);
        QTest::keyClick(&rows, Qt::Key_Up);
        QCOMPARE(fx.W().Selected(), 1);
        QTest::keyClick(&rows, Qt::Key_End);
        QCOMPARE(fx.W().Selected(), 59);
        QVERIFY(rows.viewport()->rect().intersects(rows.visualRect(rows.model()->index(59, 0))));
        QTest::keyClick(&rows, Qt::Key_PageUp);
        const int pageUp = fx.W().Selected();
        QVERIFY2(pageUp < 58 && pageUp > 0, qPrintable(QString::number(pageUp)));
        QTest::keyClick(&rows, Qt::Key_PageDown);
        QVERIFY(fx.W().Selected() > pageUp + 1);
        QTest::keyClick(&rows, Qt::Key_Home);
        QCOMPARE(fx.W().Selected(), 0);
        QCOMPARE(fx.W().findChild<QLineEdit*>("edtr1")->text(), QString("30"));
        // A selection made elsewhere is scrolled into sight.
        fx.W().SelectElement(45);
        QVERIFY(rows.viewport()->rect().intersects(rows.visualRect(rows.model()->index(45, 0))));
    }

    void DuplicateInsertsACopyAfterTheSelectedElement() {
        TListFixture fx;
        fx.W().InsertSphere();
        fx.W().InsertSeries();
        fx.W().InsertSphere();
        fx.List().FinishEdits();
        const std::string start = fx.Bytes();
        QAction* duplicate = fx.Command("P&owiel");
        QCOMPARE(duplicate->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_D));
        fx.W().SelectElement(-1);
        fx.Activate();
        QVERIFY(!duplicate->isEnabled());
        fx.W().SelectElement(1);
        QVERIFY(duplicate->isEnabled());
        QTest::keyClick(fx.W().findChild<QLineEdit*>("edtx1"), Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(fx.M().Count(), 4);
        QVERIFY(editor::SameElement(fx.M().GetElement(2), fx.M().GetElement(1)));
        QCOMPARE(fx.M().GetElement(3).C, -1);
        QCOMPARE(fx.W().Selected(), 2);
        QCOMPARE(fx.Rows().SelectedElement(), 2);
        QCOMPARE(fx.Cell(2, 1), QString("szereg"));
        fx.List().Undo();
        QCOMPARE(fx.Bytes(), start);
        fx.List().Redo();
        QCOMPARE(fx.M().Count(), 4);

        // A value being typed goes into the copy, and is a step of its own.
        fx.W().SelectElement(0);
        Type(fx.W().findChild<QLineEdit*>("edtx1"), "12.5");
        fx.W().DuplicateSelected();
        QCOMPARE(fx.M().GetElement(1).X1, 12.5f);
        QCOMPARE(fx.M().GetElement(0).X1, 12.5f);
        fx.List().Undo();
        fx.List().Undo();
        fx.List().Undo();
        QCOMPARE(fx.Bytes(), start);
    }

    void ASphereBecomesASeriesInOneStep() {
        TListFixture fx;
        fx.W().InsertSphere();
        bbx::TSphereElement sphere = fx.M().GetElement(0);
        sphere.X1 = 5;
        sphere.Y1 = -7;
        sphere.Z1 = 2;
        sphere.R1 = 12;
        sphere.Color = bbx::RGB(1, 2, 3);
        fx.M().SetElement(0, sphere);
        fx.W().ModelChanged();
        fx.W().SelectElement(0);
        fx.List().FinishEdits();
        const std::string start = fx.Bytes();
        QAction* toSeries = fx.Command(QString::fromUtf8("Zamień na &szereg"));
        QVERIFY(toSeries->isEnabled());
        QVERIFY(!fx.W().findChild<QLineEdit*>("edtc")->isEnabled());
        toSeries->trigger();
        const bbx::TSphereElement series = fx.M().GetElement(0);
        QCOMPARE(series.C, 1);
        QCOMPARE(series.Color, bbx::RGB(1, 2, 3));
        QCOMPARE(series.X1, 5.0f);
        QCOMPARE(series.X2, 5.0f + 48);
        QCOMPARE(series.Y2, -7.0f);
        QCOMPARE(series.Z2, 2.0f);
        QCOMPARE(series.R2, 12.0f);
        QCOMPARE(fx.Cell(0, 1), QString("szereg"));
        QCOMPARE(fx.Cell(0, 3), QString("1"));
        // Its second end and C can be edited at once; a series cannot become one.
        QVERIFY(fx.W().findChild<QLineEdit*>("edtc")->isEnabled());
        QVERIFY(fx.W().findChild<QLineEdit*>("edtx2")->isEnabled());
        QVERIFY(!toSeries->isEnabled());
        fx.W().MakeSelectedSeries();
        QVERIFY(editor::SameElement(fx.M().GetElement(0), series));
        fx.List().Undo();
        QCOMPARE(fx.Bytes(), start);
        QCOMPARE(fx.Cell(0, 1), QString("kula"));
        fx.List().Redo();
        QVERIFY(editor::SameElement(fx.M().GetElement(0), series));
    }

    void TheSecondEndOfAnOddSphere() {
        // Radius 0, negative, not a number or too large for four of it.
        const auto series = [](float r) {
            return editor::SeriesFromSphere(bbx::MakeSphere(0, 1, 2, 3, r));
        };
        QCOMPARE(series(0).X2, 61.0f);
        QCOMPARE(series(-10).X2, 41.0f);
        QCOMPARE(series(-10).R2, -10.0f);
        QCOMPARE(series(std::numeric_limits<float>::quiet_NaN()).X2, 61.0f);
        QCOMPARE(series(std::numeric_limits<float>::max()).X2, 61.0f);
        QCOMPARE(series(std::numeric_limits<float>::infinity()).X2, 61.0f);
    }

    void TheListAddsToTheWindowsSizesAndLeavesTheViewsTheirs() {
        TListFixture fx;
        QWidget* client = fx.W().findChild<QWidget*>("Client");
        const int listWidth = fx.Rows().sizeHint().width();
        QVERIFY(listWidth >= 4 * 20);
        QVERIFY(fx.W().widget()->sizeHint().width() >= client->sizeHint().width() + listWidth);
        QVERIFY(fx.W().widget()->minimumSizeHint().width() >= client->minimumWidth() + listWidth);
        // However small it is made, the views' part keeps its own minimum.
        fx.W().resize(50, 50);
        QVERIFY(client->width() >= client->minimumWidth());
        QVERIFY(fx.W().widget()->height() >= client->minimumHeight());
        QCOMPARE(fx.Rows().width(), listWidth);
    }
};

QTEST_MAIN(ElementListTest)
#include "element_list_test.moc"
