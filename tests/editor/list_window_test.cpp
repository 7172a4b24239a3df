// The model list window: its file and model commands, questions, fields,
// handles, preview and the mended file faults, driven through the real windows.
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QTest>
#include <QWheelEvent>
#include <csignal>
#include <sys/resource.h>

#include "core/pixel_buffer.h"
#include "core/render_model.h"
#include "core/software_canvas.h"
#include "editor/application_setup.h"
#include "editor/error_box.h"
#include "editor/error_text.h"
#include "editor/paint_box.h"
#include "support/dialog_answerer.h"
#include "support/editor_fixture.h"

using editor::TfrmList;
using editor::TfrmModel;

namespace {

QLineEdit* Edit(const TfrmList& list, const char* name) { return list.findChild<QLineEdit*>(name); }

void Press(QWidget* widget, QPoint at) { QTest::mousePress(widget, Qt::LeftButton, {}, at); }
void Move(QWidget* widget, QPoint to) { QTest::mouseMove(widget, to); }
void Release(QWidget* widget, QPoint at) { QTest::mouseRelease(widget, Qt::LeftButton, {}, at); }

QStringList RowTexts(const QTreeWidget& view) {
    QStringList rows;
    for (int i = 0; i < view.topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = view.topLevelItem(i);
        rows << item->text(0) + "|" + item->text(1) + "|" + item->text(2);
    }
    return rows;
}

int ModelWindowCount(const editor::TfrmMain& main) {
    int count = 0;
    for (QMdiSubWindow* window : main.MdiArea()->subWindowList()) count += qobject_cast<TfrmModel*>(window) != nullptr;
    return count;
}

const QString kQuestionIcon = "question";

// Runs body with file writes beyond `bytes` failing (as on a full disk); root
// ignores folder permissions, but not this limit.
template <typename Body>
void WithFileSizeLimit(rlim_t bytes, Body body) {
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = bytes;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &small);
    body();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
}

}  // namespace

class ListWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { editor::SetUpApplication(*qApp); }

    void FreshStartShowsTheDefaultPreviewAndNoModel() {
        TEditorFixture fx;
        TfrmList& list = fx.List();
        QCOMPARE(list.windowTitle(), QString("Lista modeli[*]"));  // "[*]" is where Qt shows the modified mark
        QVERIFY(!list.isWindowModified());
        const editor::TEditorSettings view = list.CurrentSettings();
        QCOMPARE(view.R, 127.0f);
        QCOMPARE(view.KX, 0.0f);
        QCOMPARE(view.KY, 0.0f);
        QCOMPARE(view.Background, 0u);
        QCOMPARE(list.findChild<editor::TPaintBox*>("PaintBox")->size(), QSize(128, 128));
        for (const char* name : {"edtNazwa", "edtID", "edti1", "edti2"}) {
            QVERIFY(!Edit(list, name)->isEnabled());
            QCOMPARE(Edit(list, name)->text(), QString("0"));
        }
        QCOMPARE(Edit(list, "edtkx")->text(), QString("0"));
        QCOMPARE(Edit(list, "edtzoom")->text(), QString("4"));
    }

    void AddNumbersModelsAcrossNew() {
        TEditorFixture fx;
        TfrmList& list = fx.List();
        list.AddModel();
        list.AddModel();
        QCOMPARE(RowTexts(fx.ListView()), (QStringList{"0|Model 0|0", "1|Model 1|1"}));
        QCOMPARE(list.SelectedModel(), nullptr);

        TDialogAnswerer answers;
        answers.AnswerMessage(QMessageBox::No);
        list.New();
        QCOMPARE(list.Collection().Count(), 0);
        list.AddModel();
        QCOMPARE(RowTexts(fx.ListView()), (QStringList{"0|Model 2|2"}));
        QVERIFY(answers.AllAnswered());
        QCOMPARE(answers.Seen().at(0).Title, QString("Nowy"));
        QCOMPARE(answers.Seen().at(0).Text, QString::fromUtf8("Czy zapisać zmiany w pliku ?"));
    }

    void CopyGivesANewLastModelWithTheSameValues() {
        TEditorFixture fx;
        TfrmList& list = fx.List();
        list.AddModel();
        list.AddModel();
        fx.ClickRow(0);
        QVERIFY(list.SelectedModel());
        Type(Edit(list, "edti1"), "12.5");
        list.SelectedModel()->AddElement(bbx::MakeSphere(7, 1, 2, 3, 4));
        list.CopyModel();
        QCOMPARE(list.Collection().Count(), 3);
        const bbx::Tbbx_model& copy = *list.Collection().Items(2);
        QCOMPARE(QString::fromStdString(copy.Name), QString("Model 0 kopia"));
        QCOMPARE(copy.ID, 0);
        QCOMPARE(copy.I1, 12.5f);
        QCOMPARE(copy.Count(), 1);
        QCOMPARE(copy.GetElement(0).Color, 7u);
        QCOMPARE(list.SelectedModel(), list.Collection().Items(0));
    }

    void DeleteAsksAndClosesTheModelsWindow() {
        TEditorFixture fx;
        TfrmList& list = fx.List();
        list.AddModel();
        list.AddModel();
        fx.ClickRow(1);
        list.EditModel();
        QCOMPARE(ModelWindowCount(fx.Main()), 1);

        TDialogAnswerer answers;
        answers.AnswerMessage(QMessageBox::No);
        list.DeleteModel();
        QCOMPARE(list.Collection().Count(), 2);
        QCOMPARE(ModelWindowCount(fx.Main()), 1);
        const TDialogRecord& question = answers.Seen().at(0);
        QCOMPARE(question.Title, QString::fromUtf8("Usuń model"));
        QCOMPARE(question.Text, QString::fromUtf8("Czy na pewno usunąć model \"Model 1\" ?"));
        QCOMPARE(question.Icon, QMessageBox::Question);
        QCOMPARE(question.Buttons.size(), 2);

        answers.AnswerMessage(QMessageBox::Yes);
        list.DeleteModel();
        QCOMPARE(ModelNames(list.Collection()), std::vector<std::string>{"Model 0"});
        QCOMPARE(ModelWindowCount(fx.Main()), 0);
        QVERIFY(answers.AllAnswered());
    }

    void MovesKeepTheSelectionAndStopAtTheEnds() {
        TEditorFixture fx;
        TfrmList& list = fx.List();
        for (int i = 0; i < 3; ++i) list.AddModel();
        fx.ClickRow(0);
        list.MoveUp();
        QCOMPARE(ModelNames(list.Collection()), (std::vector<std::string>{"Model 0", "Model 1", "Model 2"}));
        list.MoveDown();
        QCOMPARE(ModelNames(list.Collection()), (std::vector<std::string>{"Model 1", "Model 0", "Model 2"}));
        QCOMPARE(list.SelectedModel()->Name, std::string("Model 0"));
        QCOMPARE(RowTexts(fx.ListView()).at(1), QString("1|Model 0|0"));
        list.MoveDown();
        list.MoveDown();
        QCOMPARE(ModelNames(list.Collection()), (std::vector<std::string>{"Model 1", "Model 2", "Model 0"}));
        QCOMPARE(list.SelectedModel()->Name, std::string("Model 0"));
    }

    void ModelFieldsEditTheSelectedModel() {
        TEditorFixture fx;
        TfrmList& list = fx.List();
        list.AddModel();
        fx.ClickRow(0);
        TfrmModel* window = list.OpenModelWindow(*list.SelectedModel());
        QVERIFY(Edit(list, "edtNazwa")->isEnabled());

        Type(Edit(list, "edtNazwa"), QString::fromUtf8("Żółw"));
        QCOMPARE(list.SelectedModel()->Name, std::string("\xAF\xF3\xB3w"));  // Windows-1250 bytes
        QCOMPARE(window->windowTitle(), QString::fromUtf8("Żółw"));
        QCOMPARE(fx.ListView().topLevelItem(0)->text(1), QString::fromUtf8("Żółw"));

        Type(Edit(list, "edtID"), "42");
        QCOMPARE(list.SelectedModel()->ID, 42);
        Edit(list, "edtID")->end(false);
        TypeText(Edit(list, "edtID"), "x");
        QCOMPARE(list.SelectedModel()->ID, 42);
        QCOMPARE(Edit(list, "edtID")->text(), QString("42x"));
        QCOMPARE(fx.ListView().topLevelItem(0)->text(2), QString("42"));

        Type(Edit(list, "edti2"), "0.25");
        QCOMPARE(list.SelectedModel()->I2, 0.25f);
        Type(Edit(list, "edti2"), "abc");
        QCOMPARE(list.SelectedModel()->I2, 0.25f);
    }

    void ANameCharacterOutsideTheCodePageIsRefusedWithAMessage() {
        TEditorFixture fx;
        TfrmList& list = fx.List();
        list.AddModel();
        fx.ClickRow(0);
        TDialogAnswerer answers;
        answers.AnswerMessage(QMessageBox::Ok);
        QLineEdit* name = Edit(list, "edtNazwa");
        name->setFocus();
        name->end(false);
        TypeText(name, QString::fromUtf8("☃"));
        QTRY_COMPARE(answers.Seen().size(), std::size_t(1));
        QCOMPARE(name->text(), QString("Model 0"));
        QCOMPARE(list.SelectedModel()->Name, std::string("Model 0"));
        QVERIFY(answers.Seen().at(0).Text.contains(QString::fromUtf8("„☃”")));
        QVERIFY(answers.Seen().at(0).Text.contains("Windows-1250"));
    }

    void OpenReplacesTheModelsAndNamesTheFile() {
        TEditorFixture fx;
        const QString path = fx.PathOf("three.bbx");
        MakeCollection({"A", "B", "C"}).SaveToFile(path.toStdString());
        TfrmList& list = fx.List();
        list.AddModel();
        fx.ClickRow(0);
        list.EditModel();

        TDialogAnswerer answers;
        answers.AnswerMessage(QMessageBox::No);
        answers.ChooseFile(path);
        list.Open();
        QVERIFY(answers.AllAnswered());
        QCOMPARE(answers.Seen().at(0).Title, QString::fromUtf8("Otwórz"));
        QCOMPARE(answers.Seen().at(0).Icon, QMessageBox::Question);
        QStringList buttons = answers.Seen().at(0).Buttons;
        buttons.sort();
        QCOMPARE(buttons, (QStringList{"&Nie", "&Tak", "Anuluj"}));
        const TDialogRecord& dialog = answers.Seen().at(1);
        QCOMPARE(dialog.Title, QString::fromUtf8("Otwórz"));
        QCOMPARE(dialog.NameFilters, (QStringList{"Bulbix (*.bbx)", "Wszystkie pliki (*.*)"}));
        QCOMPARE(dialog.DefaultSuffix, QString("bbx"));
        QCOMPARE(RowTexts(fx.ListView()), (QStringList{"0|A|0", "1|B|1", "2|C|2"}));
        QCOMPARE(list.FileName(), path);
        QCOMPARE(ModelWindowCount(fx.Main()), 0);
        QCOMPARE(fx.Main().windowTitle(), QString("Bulbix Editor - three.bbx[*]"));

        // The question now names the file; Cancel ends the command at once.
        list.AddModel();
        answers.AnswerMessage(QMessageBox::Cancel);
        list.Open();
        QCOMPARE(answers.Seen().at(2).Text, QString::fromUtf8("Czy zapisać zmiany w pliku \"three.bbx\" ?"));
        QCOMPARE(answers.Seen().size(), std::size_t(3));
        QVERIFY(answers.AllAnswered());
    }

    void AFailedOpenKeepsEverything_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        const QString lead = QString::fromUtf8("Nie można otworzyć pliku „bad.bbx”.\n\n");
        QTest::newRow("wrong magic") << QByteArray("bbx1\0\0\0\0", 8) << lead + QString::fromUtf8("Nieprawidłowy format");
        const std::string whole = MakeCollection({"X", "Y"}).SaveToBytes();
        QTest::newRow("cut short") << QByteArray::fromStdString(whole.substr(0, whole.size() - 7))
                                   << lead + QString::fromUtf8("Plik urywa się przed końcem danych (Read beyond end of file).");
    }

    void AFailedOpenKeepsEverything() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        TEditorFixture fx;
        const QString good = fx.PathOf("good.bbx");
        const QString bad = fx.PathOf("bad.bbx");
        MakeCollection({"Keep 0", "Keep 1"}).SaveToFile(good.toStdString());
        WriteBytes(bad, bytes.toStdString());
        TfrmList& list = fx.List();
        TDialogAnswerer answers;
        answers.ChooseFile(good);  // nothing changed: no question first
        list.Open();
        fx.ClickRow(1);
        list.EditModel();

        answers.ChooseFile(bad);
        answers.AnswerMessage(QMessageBox::Ok);
        for (QAction* action : fx.Main().findChildren<QAction*>())
            if (action->text() == QString::fromUtf8("&Otwórz...")) action->trigger();
        QVERIFY(answers.AllAnswered());
        const TDialogRecord& error = answers.Seen().back();
        QCOMPARE(error.Icon, QMessageBox::Critical);
        QCOMPARE(error.Text, message);
        QCOMPARE(ModelNames(list.Collection()), (std::vector<std::string>{"Keep 0", "Keep 1"}));
        QCOMPARE(RowTexts(fx.ListView()), (QStringList{"0|Keep 0|0", "1|Keep 1|1"}));
        QCOMPARE(list.FileName(), good);
        QCOMPARE(ModelWindowCount(fx.Main()), 1);
        QCOMPARE(list.SelectedModel(), list.Collection().Items(1));
    }

    void ImportAppendsWithoutAskingAndAFailedOneAddsNothing() {
        TEditorFixture fx;
        const QString extra = fx.PathOf("extra.bbx");
        const QString bad = fx.PathOf("bad.bbx");
        bbx::Tbbx_collection source = MakeCollection({"P", "Q"});
        source.Items(1)->I2 = 7.5f;
        source.SaveToFile(extra.toStdString());
        WriteBytes(bad, "BBX1\x05\0\0\0ab");
        TfrmList& list = fx.List();
        list.AddModel();

        TDialogAnswerer answers;
        answers.ChooseFile(extra);
        list.Import();
        QCOMPARE(ModelNames(list.Collection()), (std::vector<std::string>{"Model 0", "P", "Q"}));
        const bbx::Tbbx_model& q = *list.Collection().Items(2);
        QCOMPARE(q.ID, 1);
        QCOMPARE(q.I2, 7.5f);
        QCOMPARE(q.GetElement(0).R1, 11.0f);
        QVERIFY(list.FileName().isEmpty());
        QCOMPARE(fx.ListView().topLevelItemCount(), 3);

        answers.ChooseFile(bad);
        answers.AnswerMessage(QMessageBox::Ok);
        editor::RunGuarded([&] { list.Import(); });
        QCOMPARE(answers.Seen().back().Text,
                 QString::fromUtf8("Nie można otworzyć pliku „bad.bbx”.\n\nPlik urywa się przed końcem danych (Read beyond end of file)."));
        QCOMPARE(list.Collection().Count(), 3);
        QCOMPARE(fx.ListView().topLevelItemCount(), 3);
        QVERIFY(answers.AllAnswered());
    }

    void SaveAsNamesTheFileAndSaveWritesItAgain() {
        TEditorFixture fx;
        TfrmList& list = fx.List();
        list.AddModel();
        const QString path = fx.PathOf("saved.bbx");

        TDialogAnswerer answers;
        answers.ChooseFile(fx.PathOf("saved"));  // the default extension is added
        QVERIFY(list.Save());
        QCOMPARE(answers.Seen().at(0).Title, QString("Zapisz jako"));
        QCOMPARE(list.FileName(), path);
        QCOMPARE(ReadBytes(path), list.Collection().SaveToBytes());

        list.AddModel();
        QVERIFY(list.Save());
        QCOMPARE(answers.Seen().size(), std::size_t(1));
        QCOMPARE(ReadBytes(path), list.Collection().SaveToBytes());

        // Cancelled: nothing is written and nothing reports success.
        answers.ChooseFile({});
        QVERIFY(!list.SaveAs());
        QCOMPARE(list.FileName(), path);

        // An existing file is only replaced after a Yes.
        answers.ChooseFile(fx.PathOf("saved.bbx"));
        answers.AnswerMessage(QMessageBox::Yes);
        QVERIFY(list.SaveAs());
        QVERIFY(answers.AllAnswered());
    }

    void AFailedSaveLeavesTheOldFileAndTheNameIntact() {
        TEditorFixture fx;
        TfrmList& list = fx.List();
        const QString path = fx.PathOf("old.bbx");
        MakeCollection({"Old"}).SaveToFile(path.toStdString());
        const std::string before = ReadBytes(path);
        TDialogAnswerer answers;
        answers.ChooseFile(path);
        list.Open();
        for (int i = 0; i < 20; ++i) list.AddModel();

        answers.AnswerMessage(QMessageBox::Ok);
        fx.Activate();
        WithFileSizeLimit(64, [&] { QTest::keyClick(&fx.ListView(), Qt::Key_S, Qt::ControlModifier); });
        QVERIFY(answers.AllAnswered());
        QCOMPARE(answers.Seen().back().Icon, QMessageBox::Critical);
        QVERIFY(!answers.Seen().back().Text.isEmpty());
        QCOMPARE(ReadBytes(path), before);
        QStringList files = QDir(fx.PathOf("")).entryList(QDir::Files);
        files.removeAll("bbxedit.ini");  // the recent files are kept there at once
        QCOMPARE(files, (QStringList{"old.bbx"}));

        // A failed Save As writes no file and keeps the old name.
        answers.ChooseFile(fx.PathOf("new.bbx"));
        answers.AnswerMessage(QMessageBox::Ok);
        WithFileSizeLimit(64, [&] { editor::RunGuarded([&] { list.SaveAs(); }); });
        QCOMPARE(list.FileName(), path);
        QCOMPARE(answers.Seen().back().Icon, QMessageBox::Critical);
        QVERIFY(!QFile::exists(fx.PathOf("new.bbx")));
        QVERIFY(answers.AllAnswered());
    }

    void EnterAndDoubleClickOpenOneWindowPerModel() {
        TEditorFixture fx;
        TfrmList& list = fx.List();
        list.AddModel();
        list.AddModel();
        fx.ClickRow(1);
        QTest::keyClick(&fx.ListView(), Qt::Key_Return);
        QCOMPARE(ModelWindowCount(fx.Main()), 1);
        TfrmModel* first = fx.ActiveModelWindow();
        QVERIFY(first);
        QCOMPARE(&first->Model(), list.Collection().Items(1));
        QCOMPARE(first->windowTitle(), QString("Model 1"));

        QTreeWidget& view = fx.ListView();
        const QPoint row0 = view.visualItemRect(view.topLevelItem(0)).center();
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, row0);
        QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, row0);
        QCOMPARE(ModelWindowCount(fx.Main()), 2);
        QCOMPARE(&fx.ActiveModelWindow()->Model(), list.Collection().Items(0));

        fx.ClickRow(1);
        list.EditModel();
        QCOMPARE(ModelWindowCount(fx.Main()), 2);
        QCOMPARE(fx.ActiveModelWindow(), first);
    }

    void ViewFieldsAndHandlesSetThePreview() {
        TEditorFixture fx;
        TfrmList& list = fx.List();
        auto* box = list.findChild<editor::TPaintBox*>("PaintBox");
        TypeAndEnter(Edit(list, "edtcx"), "-5");
        QCOMPARE(list.CurrentSettings().Szer, 0);
        QCOMPARE(box->width(), 0);
        TypeAndEnter(Edit(list, "edtcx"), "20");
        TypeAndEnter(Edit(list, "edtzoom"), "3");
        QCOMPARE(box->size(), QSize(60, 96));
        Type(Edit(list, "edtr"), "-1");
        QCOMPARE(list.CurrentSettings().R, 0.0f);

        // Zoom: one step per 10 pixels down from the press.
        auto* zoom = list.findChild<QWidget*>("pnlzoom");
        Press(zoom, {5, 4});
        Move(zoom, {5, 29});
        QCOMPARE(Edit(list, "edtzoom")->text(), QString("5"));
        QCOMPARE(box->size(), QSize(100, 160));
        Move(zoom, {5, -100});
        QCOMPARE(list.CurrentSettings().Zoom, 0);
        Release(zoom, {5, -100});
        Move(zoom, {5, 60});
        QCOMPARE(list.CurrentSettings().Zoom, 0);

        // The angle: 0.01 radian per pixel.
        auto* kx = list.findChild<QWidget*>("pnlkx");
        Press(kx, {5, 10});
        Move(kx, {5, 60});
        QCOMPARE(Edit(list, "edtkx")->text(), QString("0.5"));
        Release(kx, {5, 60});

        // A field that does not parse starts no drag.
        Type(Edit(list, "edtr"), "x");
        auto* r = list.findChild<QWidget*>("pnlr");
        Press(r, {5, 0});
        Move(r, {5, 40});
        QCOMPARE(Edit(list, "edtr")->text(), QString("x"));
        Release(r, {5, 40});
    }

    void ThePreviewIsTheRenderedPictureMagnified() {
        TEditorFixture fx;
        const QString path = fx.PathOf("one.bbx");
        bbx::Tbbx_collection models = MakeCollection({"Ball"});
        models.Items(0)->AddElement(bbx::MakeSeries(bbx::RGB(10, 200, 30), 2, -8, -3, 5, 4, 9, 6, -2, 6));
        models.SaveToFile(path.toStdString());
        TfrmList& list = fx.List();
        TDialogAnswerer answers;
        answers.ChooseFile(path);
        answers.ChooseColor(QColor(0, 0, 90));
        list.Open();
        list.findChild<QPushButton*>("btnBackground")->click();
        QCOMPARE(list.CurrentSettings().Background, bbx::RGB(0, 0, 90));
        Type(Edit(list, "edtkx"), "0.4");
        TypeAndEnter(Edit(list, "edtcx"), "31");
        TypeAndEnter(Edit(list, "edtcy"), "25");
        TypeAndEnter(Edit(list, "edtzoom"), "3");
        fx.ClickRow(0);

        bbx::TPixelBuffer expected(31, 25, bbx::TPixelFormat::Xrgb8888);
        expected.Fill(expected.MapColor(bbx::RGB(0, 0, 90)));
        bbx::TSoftwareCanvas canvas(expected);
        bbx::RenderModel(*list.Collection().Items(0), canvas, 31, 25, 0.4f, 0, 127);
        const QImage shown = list.findChild<editor::TPaintBox*>("PaintBox")->grab().toImage();
        QCOMPARE(shown.size(), QSize(93, 75));
        int mismatches = 0;
        for (int y = 0; y < 75; ++y)
            for (int x = 0; x < 93; ++x)
                mismatches += (shown.pixel(x, y) & 0xFFFFFF) != expected.GetPixel(x / 3, y / 3);
        QCOMPARE(mismatches, 0);
        QVERIFY(answers.AllAnswered());
    }

    void NumberFieldsMarkWhatTheyCannotReadAndKeepTheValue() {
        TEditorFixture fx;
        TfrmList& list = fx.List();
        list.AddModel();
        fx.ClickRow(0);
        QLineEdit* i1 = Edit(list, "edti1");
        Type(i1, "1,5");  // a comma where the separator is a point
        QCOMPARE(list.SelectedModel()->I1, 1.0f);
        QVERIFY(i1->property("bbxWrong").toBool());
        QVERIFY(i1->palette().color(QPalette::Base) != Edit(list, "edti2")->palette().color(QPalette::Base));
        // Left so, the edit is taken back, "1" on the way included, and the
        // field shows the stored value.
        Edit(list, "edti2")->setFocus();
        QCOMPARE(list.SelectedModel()->I1, 0.0f);
        QCOMPARE(i1->text(), QString("0"));
        QVERIFY(!i1->property("bbxWrong").toBool());

        for (const char* text : {"nan", "inf", "-inf", "1e39"}) {
            TypeAndEnter(Edit(list, "edti2"), text);
            QCOMPARE(list.SelectedModel()->I2, 0.0f);
            QCOMPARE(Edit(list, "edti2")->text(), QString("0"));
        }
        TypeAndEnter(Edit(list, "edtkx"), "nan");
        QCOMPARE(list.CurrentSettings().KX, 0.0f);

        // Up and Down step by one, the wheel too while the field has the focus.
        QLineEdit* id = Edit(list, "edtID");
        id->setFocus();
        QTest::keyClick(id, Qt::Key_Up);
        QTest::keyClick(id, Qt::Key_Up);
        QCOMPARE(list.SelectedModel()->ID, 2);
        QTest::keyClick(id, Qt::Key_Down);
        QCOMPARE(id->text(), QString("1"));
        QWheelEvent wheel(QPointF(5, 5), id->mapToGlobal(QPointF(5, 5)), {}, QPoint(0, -120), Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(id, &wheel);
        QCOMPARE(list.SelectedModel()->ID, 0);
        QLineEdit* zoom = Edit(list, "edtzoom");
        zoom->setFocus();
        QTest::keyClick(zoom, Qt::Key_Down);
        QCOMPARE(list.CurrentSettings().Zoom, 3);
        // Each step is one step of the history.
        list.Undo();
        QVERIFY(list.SelectedModel());
        QCOMPARE(list.SelectedModel()->ID, 1);
    }

    void SizeFieldsApplyWhenFinished() {
        TEditorFixture fx;
        TfrmList& list = fx.List();
        auto* box = list.findChild<editor::TPaintBox*>("PaintBox");
        Type(Edit(list, "edtzoom"), "1000");
        QCOMPARE(box->size(), QSize(128, 128));
        QTest::keyClick(Edit(list, "edtzoom"), Qt::Key_Return);
        QCOMPARE(box->size(), QSize(32000, 32000));
        Type(Edit(list, "edtcx"), "2");
        Edit(list, "edtcy")->setFocus();
        QCOMPARE(box->size(), QSize(2000, 32000));
    }

    void ErrorsNameTheFileAndSayInPolishWhatWentWrong() {
        TEditorFixture fx;
        TfrmList& list = fx.List();
        TDialogAnswerer answers;
        answers.AnswerMessage(QMessageBox::Ok);
        editor::RunGuarded([&] { list.OpenFile(fx.PathOf("missing.bbx")); });
        QCOMPARE(answers.Seen().back().Text,
                 QString::fromUtf8("Nie można otworzyć pliku „missing.bbx”.\n\nNie ma takiego pliku ani katalogu"));

        WriteBytes(fx.PathOf("plain"), "");
        list.AddModel();
        answers.ChooseFile(fx.PathOf("plain/inside.bbx"));
        answers.AnswerMessage(QMessageBox::Ok);
        editor::RunGuarded([&] { list.SaveAs(); });
        QCOMPARE(answers.Seen().back().Text,
                 QString::fromUtf8("Nie można zapisać pliku „inside.bbx”.\n\nCzęść ścieżki nie jest katalogiem"));
        QVERIFY(answers.AllAnswered());
        QCOMPARE(editor::SystemErrorText(EACCES), QString::fromUtf8("Brak uprawnień"));
    }

    void AModelBeyondTheSphereLimitIsToldOnceAndStaysEditable() {
        TEditorFixture fx;
        const QString path = fx.PathOf("huge.bbx");
        bbx::Tbbx_collection models = MakeCollection({"Small", "Huge"});
        models.Items(1)->AddElement(bbx::MakeSeries(bbx::RGB(9, 9, 9), 2147483647, 0, 0, 0, 5, 10, 10, 10, 5));
        models.SaveToFile(path.toStdString());
        TfrmList& list = fx.List();
        TDialogAnswerer answers;
        answers.ChooseFile(path);
        list.Open();
        answers.AnswerMessage(QMessageBox::Ok);
        fx.ClickRow(1);
        QTRY_COMPARE(answers.Seen().size(), std::size_t(2));
        const QString text = answers.Seen().back().Text;
        QVERIFY2(text.contains(QString::fromUtf8("„Huge” (ID 1)")) && text.contains("element 1"), qPrintable(text));
        // Refreshing the list says nothing more; the preview is only the background.
        list.AddModel();
        list.Undo();
        QTest::qWait(20);
        QCOMPARE(answers.Seen().size(), std::size_t(2));
        const QImage preview = list.findChild<editor::TPaintBox*>("PaintBox")->grab().toImage();
        QCOMPARE(preview.pixel(64, 64), qRgb(0, 0, 0));
        // Still editable, and small enough again the model draws.
        TypeAndEnter(Edit(list, "edtNazwa"), "Mended");
        TfrmModel* window = list.OpenModelWindow(*list.SelectedModel());
        window->SelectElement(1);
        TypeAndEnter(window->findChild<QLineEdit*>("edtc"), "3");
        QCOMPARE(window->Model().GetElement(1).C, 3);
        answers.AnswerMessage(QMessageBox::Ok);
        TypeAndEnter(window->findChild<QLineEdit*>("edtc"), "2000000");
        QTRY_COMPARE(answers.Seen().size(), std::size_t(3));
        QVERIFY(answers.Seen().back().Text.contains(QString::fromUtf8("„Mended”")));
        TypeAndEnter(window->findChild<QLineEdit*>("edtr1"), "7");  // no second box for the same state
        QTest::qWait(20);
        QVERIFY(answers.AllAnswered());
        QCOMPARE(window->Model().GetElement(1).R1, 7.0f);
    }

    void TheListWindowCannotBeClosed() {
        TEditorFixture fx;
        QVERIFY(!fx.List().close());
        QVERIFY(fx.List().isVisible());
        // Nothing offers to close it.
        QVERIFY(!fx.List().windowFlags().testFlag(Qt::WindowCloseButtonHint));
        int closeItems = 0;
        for (QAction* item : fx.List().systemMenu()->actions())
            if (item->text().contains("Zamknij")) {
                ++closeItems;
                QVERIFY(!item->isEnabled());
            }
        QCOMPARE(closeItems, 1);
    }
};

QTEST_MAIN(ListWindowTest)
#include "list_window_test.moc"
