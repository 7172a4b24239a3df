// The file's history and its change tracking: every change to the models,
// from the list window and the editing windows, undone and redone step by
// step; the modified mark and the save question that follow it.
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMdiArea>
#include <QTest>
#include <random>

#include "core/real_format.h"
#include "editor/application_setup.h"
#include "editor/paint_box.h"
#include "editor/qt_convert.h"
#include "support/dialog_answerer.h"
#include "support/editor_fixture.h"

using editor::TfrmList;
using editor::TfrmModel;

namespace {

QLineEdit* Edit(const QWidget& window, const char* name) { return window.findChild<QLineEdit*>(name); }

void Drag(QWidget* handle, QPoint from, QPoint to) {
    QTest::mousePress(handle, Qt::LeftButton, {}, from);
    for (int y = from.y(); y != to.y(); y += to.y() > from.y() ? 1 : -1) QTest::mouseMove(handle, {to.x(), y});
    QTest::mouseMove(handle, to);
    QTest::mouseRelease(handle, Qt::LeftButton, {}, to);
}

// Plays random commands on an open file as a user would: through the
// windows' commands, their fields, handles and the dialogs.
class TRandomUser {
public:
    TRandomUser(TEditorFixture& fx, TDialogAnswerer& answers, unsigned seed, QString importPath)
        : Fx(fx), Answers(answers), Random(seed), ImportPath(std::move(importPath)) {}

    void Step() {
        TfrmList& list = Fx.List();
        const int models = list.Collection().Count();
        if (models > 0) Fx.ClickRow(Pick(models));
        switch (Pick(14)) {
            case 0:
                list.AddModel();
                break;
            case 1:
                list.CopyModel();
                break;
            case 2:
                if (list.SelectedModel() && models > 2) {
                    Answers.AnswerMessage(QMessageBox::Yes);
                    list.DeleteModel();
                }
                break;
            case 3:
                Pick(2) ? list.MoveUp() : list.MoveDown();
                break;
            case 4: {
                static const char* const fields[] = {"edtNazwa", "edtID", "edti1", "edti2"};
                if (list.SelectedModel()) TypeAndEnter(Edit(list, fields[Pick(4)]), Number());
                break;
            }
            case 5:
                if (Pick(4) == 0) {
                    Answers.ChooseFile(ImportPath);
                    list.Import();
                }
                break;
            case 6:
                for (int n = Pick(3) + 1; n > 0; --n) list.Undo();
                break;
            case 7:
                list.Redo();
                break;
            default:
                if (list.SelectedModel()) EditElements(*list.OpenModelWindow(*list.SelectedModel()));
        }
    }

private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(Random); }
    QString Number() { return editor::RealText(static_cast<float>(Pick(2001) - 1000) / 8); }

    void EditElements(TfrmModel& window) {
        const std::int32_t count = window.Model().Count();
        if (count > 0) window.SelectElement(Pick(count));
        static const char* const fields[] = {"edtx1", "edty1", "edtz1", "edtr1", "edtx2", "edty2",
                                             "edtz2", "edtr2", "edtcr", "edtcg", "edtcb", "edtc"};
        static const char* const handles[] = {"pnlx1", "pnlr1", "pnlz2", "pnlcg", "pnlc"};
        switch (Pick(8)) {
            case 0:
                window.InsertSphere();
                break;
            case 1:
                window.InsertSeries();
                break;
            case 2:
                window.DeleteSelected();
                break;
            case 3:
                window.CutSelected();
                window.PasteElement();
                window.PasteElement();
                break;
            case 4:
                Drag(window.findChild<QWidget*>(handles[Pick(5)]), {5, 3}, {5, 3 + Pick(40) - 20});
                break;
            case 5:
                window.close();
                break;
            default: {
                QLineEdit* edit = Edit(window, fields[Pick(12)]);
                if (edit->isEnabled())
                    TypeAndEnter(edit, edit->objectName() == "edtc" ? QString::number(Pick(5) - 1) : Number());
            }
        }
    }

    TEditorFixture& Fx;
    TDialogAnswerer& Answers;
    std::mt19937 Random;
    QString ImportPath;
};

QStringList Rows(const QTreeWidget& view) {
    QStringList rows;
    for (int i = 0; i < view.topLevelItemCount(); ++i) rows << view.topLevelItem(i)->text(1);
    return rows;
}

}  // namespace

class HistoryTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { editor::SetUpApplication(*qApp); }

    void ARandomSessionUndoesToTheFileAndRedoesToItsEnd_data() {
        QTest::addColumn<unsigned>("seed");
        for (unsigned seed : {1u, 2u, 3u}) QTest::newRow(qPrintable(QString("seed %1").arg(seed))) << seed;
    }

    void ARandomSessionUndoesToTheFileAndRedoesToItsEnd() {
        QFETCH(unsigned, seed);
        TEditorFixture fx;
        TDialogAnswerer answers;
        const QString path = fx.PathOf("start.bbx");
        bbx::Tbbx_collection start = MakeCollection({"A", "B", "C", "D"});
        start.Items(2)->AddElement(bbx::MakeSeries(bbx::RGB(1, 2, 3), 4, -5, 6, 7, 8, 9, -10, 11, 12));
        start.SaveToFile(path.toStdString());
        MakeCollection({"Imported 0", "Imported 1"}).SaveToFile(fx.PathOf("more.bbx").toStdString());
        const std::string startBytes = ReadBytes(path);
        answers.ChooseFile(path);
        fx.List().Open();

        TRandomUser user(fx, answers, seed, fx.PathOf("more.bbx"));
        for (int i = 0; i < 250; ++i) user.Step();
        QVERIFY(answers.AllAnswered());
        fx.List().FinishEdits();
        const std::string endBytes = fx.List().Collection().SaveToBytes();
        QVERIFY(endBytes != startBytes);

        int steps = 0;
        while (fx.List().CanUndo()) {
            fx.List().Undo();
            ++steps;
        }
        QVERIFY(steps > 20);
        QVERIFY(!fx.List().IsModified());
        QVERIFY(fx.List().Save());
        QCOMPARE(ReadBytes(path), startBytes);
        QCOMPARE(Rows(fx.ListView()), (QStringList{"A", "B", "C", "D"}));

        // Steps the session itself undid last stay beyond its end.
        for (int i = 0; i < steps; ++i) {
            QVERIFY(fx.List().CanRedo());
            fx.List().Redo();
        }
        QVERIFY(fx.List().Collection().SaveToBytes() == endBytes);
        QVERIFY(fx.List().IsModified());
    }

    void AnEditIsOneStepHoweverManyKeysOrPixels() {
        TEditorFixture fx;
        fx.List().AddModel();
        fx.ClickRow(0);
        TfrmModel& window = *fx.List().OpenModelWindow(*fx.List().SelectedModel());
        window.InsertSphere();
        // Typed key by key, then Enter: one step back to the value before.
        TypeAndEnter(Edit(window, "edtx1"), "125.75");
        QCOMPARE(window.Model().GetElement(0).X1, 125.75f);
        // Dragged over many pixels: one step too.
        Drag(window.findChild<QWidget*>("pnlr1"), {5, 0}, {5, 30});
        QCOMPARE(window.Model().GetElement(0).R1, 45.0f);
        fx.List().Undo();
        QCOMPARE(window.Model().GetElement(0).R1, 30.0f);
        QCOMPARE(Edit(window, "edtr1")->text(), QString("30"));
        QCOMPARE(window.Model().GetElement(0).X1, 125.75f);
        fx.List().Undo();
        QCOMPARE(window.Model().GetElement(0).X1, 0.0f);
        QCOMPARE(Edit(window, "edtx1")->text(), QString("0"));
        fx.List().Undo();
        QCOMPARE(window.Model().Count(), 0);
        QCOMPARE(window.Selected(), -1);
        fx.List().Redo();
        fx.List().Redo();
        QCOMPARE(window.Model().GetElement(0).X1, 125.75f);

        // A model field: the name typed letter by letter is one step.
        Type(Edit(fx.List(), "edtNazwa"), "Kula");
        QCOMPARE(window.windowTitle(), QString("Kula"));
        fx.List().Undo();  // finishes the name's edit first, then undoes it
        QCOMPARE(fx.List().Collection().Items(0)->Name, std::string("Model 0"));
        QCOMPARE(window.windowTitle(), QString("Model 0"));
        QCOMPARE(Edit(fx.List(), "edtNazwa")->text(), QString("Model 0"));
        QCOMPARE(window.Model().GetElement(0).X1, 125.75f);
    }

    void DelAndTheModelCommandsCanBeUndoneByKey() {
        TEditorFixture fx;
        TDialogAnswerer answers;
        fx.List().AddModel();
        fx.List().AddModel();
        fx.ClickRow(1);
        fx.List().EditModel();
        TfrmModel* window = fx.ActiveModelWindow();
        window->InsertSeries();
        auto* front = window->findChild<editor::TPaintBox*>("PaintBox1");
        QTest::mouseClick(front, Qt::LeftButton, {}, {3, 3});
        window->SelectElement(0);
        QTest::keyClick(front, Qt::Key_Delete);
        QCOMPARE(window->Model().Count(), 0);
        QTest::keyClick(front, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(window->Model().Count(), 1);
        QVERIFY(!bbx::IsSingleSphere(window->Model().GetElement(0)));
        QTest::keyClick(front, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(window->Model().Count(), 0);
        QTest::keyClick(front, Qt::Key_Z, Qt::ControlModifier);

        // Deleting a model asks with No as the default; undone, it comes
        // back in its place with its elements, its window closed.
        answers.AnswerMessage(QMessageBox::Yes);
        fx.List().DeleteModel();
        QCOMPARE(answers.Seen().at(0).DefaultButton, QString("&Nie"));
        QCOMPARE(Rows(fx.ListView()), QStringList{"Model 0"});
        QCOMPARE(fx.ActiveModelWindow(), nullptr);
        fx.Activate();
        QTest::keyClick(&fx.ListView(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Rows(fx.ListView()), (QStringList{"Model 0", "Model 1"}));
        QCOMPARE(fx.List().Collection().Items(1)->Count(), 1);
        QTest::keyClick(&fx.ListView(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(Rows(fx.ListView()), QStringList{"Model 0"});
        QVERIFY(answers.AllAnswered());

        // Moves and copies, and New clears the history.
        fx.List().Undo();
        fx.ClickRow(0);
        fx.List().MoveDown();
        fx.List().CopyModel();
        QCOMPARE(Rows(fx.ListView()), (QStringList{"Model 1", "Model 0", "Model 0 kopia"}));
        fx.List().Undo();
        fx.List().Undo();
        QCOMPARE(Rows(fx.ListView()), (QStringList{"Model 0", "Model 1"}));
        answers.AnswerMessage(QMessageBox::No);
        fx.List().New();
        QVERIFY(!fx.List().CanUndo() && !fx.List().CanRedo());
        QVERIFY(answers.AllAnswered());
    }

    void TheMarkAndTheQuestionFollowTheChanges() {
        TEditorFixture fx;
        TDialogAnswerer answers;
        TfrmList& list = fx.List();
        QVERIFY(!list.IsModified() && !fx.Main().isWindowModified());
        // Nothing changed: New asks nothing.
        list.New();
        QVERIFY(answers.Seen().empty());

        list.AddModel();
        QVERIFY(list.isWindowModified() && fx.Main().isWindowModified());
        list.Undo();
        QVERIFY(!list.isWindowModified() && !fx.Main().isWindowModified());
        list.Redo();

        answers.ChooseFile(fx.PathOf("marked.bbx"));
        QVERIFY(list.Save());
        QVERIFY(!fx.Main().isWindowModified());
        QCOMPARE(fx.Main().windowTitle(), QString("Bulbix Editor - marked.bbx[*]"));
        // Undoing past the save is a change again; the question names the file.
        list.Undo();
        QVERIFY(fx.Main().isWindowModified());
        answers.AnswerMessage(QMessageBox::Cancel);
        QVERIFY(!fx.Main().close());
        QCOMPARE(answers.Seen().back().Text, QString::fromUtf8("Czy zapisać zmiany w pliku \"marked.bbx\" ?"));
        list.Redo();
        QVERIFY(!list.IsModified());

        // An edit still being typed counts, and is saved.
        list.OpenModelWindow(*list.Collection().Items(0))->InsertSphere();
        QVERIFY(list.Save());
        Type(Edit(*fx.ActiveModelWindow(), "edtr1"), "12");
        answers.AnswerMessage(QMessageBox::Yes);
        QVERIFY(fx.Main().close());
        bbx::Tbbx_collection saved;
        saved.LoadFromFile(fx.PathOf("marked.bbx").toStdString());
        QCOMPARE(saved.Items(0)->GetElement(0).R1, 12.0f);
        QVERIFY(answers.AllAnswered());
    }
};

QTEST_MAIN(HistoryTest)
#include "history_test.moc"
