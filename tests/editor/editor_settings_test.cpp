// The settings file "bbxedit.ini": written when the editor ends, read when it
// starts, defaults for what cannot be read, and where it is kept.
#include <QLineEdit>
#include <QMenu>
#include <QSettings>
#include <QSplitter>
#include <QAbstractProxyModel>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QMdiArea>
#include <QRegularExpression>
#include <QTest>
#include <stdexcept>

#include "editor/application_setup.h"
#include "editor/editor_settings.h"
#include "editor/file_dialog.h"
#include "editor/first_size.h"
#include "editor/paint_box.h"
#include "support/dialog_answerer.h"
#include "support/editor_fixture.h"

namespace {

QLineEdit* Edit(const editor::TfrmList& list, const char* name) { return list.findChild<QLineEdit*>(name); }

QAction* StartOption(const editor::TfrmMain& main) {
    for (QAction* item : main.findChildren<QAction*>())
        if (item->text() == "Os&tatnie pliki") {
            emit item->menu()->aboutToShow();
            return item->menu()->actions().constLast();
        }
    return nullptr;
}

bool SameView(const editor::TModelView& a, const editor::TModelView& b) {
    return a.Zoom == b.Zoom && a.PanX == b.PanX && a.PanY == b.PanY && a.PanZ == b.PanZ && a.KX == b.KX &&
           a.KY == b.KY && a.R == b.R;
}

}  // namespace

class EditorSettingsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { editor::SetUpApplication(*qApp); }

    void ViewValuesSurviveARestart() {
        TEditorFixture fx;
        editor::TfrmList& list = fx.List();
        Edit(list, "edtkx")->setText("0.25");
        Edit(list, "edtky")->setText("-1.5");
        Edit(list, "edtr")->setText("300.5");
        TypeAndEnter(Edit(list, "edtcx"), "40");
        TypeAndEnter(Edit(list, "edtcy"), "20");
        TypeAndEnter(Edit(list, "edtzoom"), "2");
        auto* splitter = list.findChild<QSplitter*>("Splitter1");
        splitter->setSizes({150, 300});
        fx.Stop();

        const QSettings ini(fx.SettingsPath(), QSettings::IniFormat);
        QCOMPARE(ini.value("Genral/ListWidth").toString(), QString("150"));
        QCOMPARE(ini.value("View/kx").toString(), QString("0.25"));
        QCOMPARE(ini.value("View/ky").toString(), QString("-1.5"));
        QCOMPARE(ini.value("View/r").toString(), QString("300.5"));
        QCOMPARE(ini.value("View/cx").toString(), QString("40"));
        QCOMPARE(ini.value("View/cy").toString(), QString("20"));
        QCOMPARE(ini.value("View/Zoom").toString(), QString("2"));
        QCOMPARE(ini.value("View/Background").toString(), QString("0"));

        fx.Start();
        editor::TfrmList& again = fx.List();
        QCOMPARE(Edit(again, "edtkx")->text(), QString("0.25"));
        QCOMPARE(again.CurrentSettings().R, 300.5f);
        QCOMPARE(again.findChild<editor::TPaintBox*>("PaintBox")->size(), QSize(80, 40));
        QCOMPARE(again.findChild<QTreeWidget*>("ListView")->width(), 150);
    }

    void UnreadableValuesTakeTheirDefaults() {
        TEditorFixture fx;
        fx.Stop();
        WriteBytes(fx.SettingsPath(),
                   "[Genral]\nListWidth=wide\n[View]\nkx=0.5\nky=\nr=lots\ncx=12\ncy=1e3\nZoom=-3\nBackground=255\n");
        fx.Start();
        const editor::TEditorSettings s = fx.List().CurrentSettings();
        QCOMPARE(s.KX, 0.5f);
        QCOMPARE(s.KY, 0.0f);
        QCOMPARE(s.R, 127.0f);
        QCOMPARE(s.Szer, 12);
        QCOMPARE(s.Wys, 32);
        QCOMPARE(s.Zoom, 4);  // a negative value is out of range and takes the default
        QCOMPARE(Edit(fx.List(), "edtzoom")->text(), QString("4"));
        QCOMPARE(s.Background, 255u);
        QCOMPARE(fx.List().findChild<QTreeWidget*>("ListView")->width(), 200);
    }

    void OutOfRangeValuesTakeTheirDefaults() {
        TEditorFixture fx;
        fx.Stop();
        WriteBytes(fx.SettingsPath(), "[Genral]\nListWidth=-50\n[View]\nkx=nan\nky=1e39\nr=-inf\ncx=-3\ncy=99999999\n"
                                      "Zoom=100000\nBackground=-1\n");
        fx.Start();
        const editor::TEditorSettings s = fx.List().CurrentSettings();
        const editor::TEditorSettings defaults;
        QCOMPARE(s.KX, defaults.KX);
        QCOMPARE(s.KY, defaults.KY);
        QCOMPARE(s.R, defaults.R);
        QCOMPARE(s.Szer, defaults.Szer);
        QCOMPARE(s.Wys, defaults.Wys);
        QCOMPARE(s.Zoom, defaults.Zoom);
        QCOMPARE(s.Background, defaults.Background);
        QCOMPARE(fx.List().findChild<QTreeWidget*>("ListView")->width(), 200);
        fx.Stop();
        const QSettings ini(fx.SettingsPath(), QSettings::IniFormat);
        QCOMPARE(ini.value("Genral/ListWidth").toString(), QString("200"));
        QCOMPARE(ini.value("View/cx").toString(), QString("32"));
        QCOMPARE(ini.value("View/r").toString(), QString("127"));
    }

    void RecentFilesAndTheWindowsPlaceAreKept() {
        TEditorFixture fx;
        TDialogAnswerer answers;
        for (int i = 0; i < 10; ++i) {
            const QString path = fx.PathOf(QString("f%1.bbx").arg(i));
            MakeCollection({"M"}).SaveToFile(path.toStdString());
            fx.List().OpenFile(path);
        }
        fx.List().OpenFile(fx.PathOf("f3.bbx"));
        const QStringList expected = {fx.PathOf("f3.bbx"), fx.PathOf("f9.bbx"), fx.PathOf("f8.bbx"), fx.PathOf("f7.bbx"),
                                      fx.PathOf("f6.bbx"), fx.PathOf("f5.bbx"), fx.PathOf("f4.bbx"), fx.PathOf("f2.bbx")};
        QCOMPARE(fx.List().RecentFiles(), expected);
        fx.Main().resize(777, 555);
        fx.Main().close();
        fx.Stop();
        fx.Start();
        QCOMPARE(fx.List().RecentFiles(), expected);
        QCOMPARE(fx.Main().size(), QSize(777, 555));

        // Plik › Ostatnie pliki opens one, after the question when something changed.
        QMenu* recent = nullptr;
        for (QAction* item : fx.Main().findChildren<QAction*>())
            if (item->text() == "Os&tatnie pliki") recent = item->menu();
        QVERIFY(recent && recent->isEnabled());
        emit recent->aboutToShow();
        QCOMPARE(recent->actions().size(), 8 + 2);  // and a separator and the start option
        QCOMPARE(recent->actions().at(1)->text(), QString("&2 f9.bbx"));
        QVERIFY(recent->actions().at(8)->isSeparator());
        fx.List().AddModel();
        answers.AnswerMessage(QMessageBox::No);
        recent->actions().at(1)->trigger();
        QCOMPARE(fx.List().FileName(), fx.PathOf("f9.bbx"));
        QCOMPARE(fx.List().RecentFiles().first(), fx.PathOf("f9.bbx"));
        QVERIFY(answers.AllAnswered());
    }

    void TheLastFileReopensAtTheStartWhenAskedTo() {
        TEditorFixture fx;
        const QString path = fx.PathOf("last.bbx");
        MakeCollection({"A", "B"}).SaveToFile(path.toStdString());
        fx.List().OpenFile(path);
        fx.List().New();
        QAction* option = StartOption(fx.Main());
        QVERIFY(option && option->isCheckable() && !option->isChecked());
        QCOMPARE(option->text(), QString::fromUtf8("Otwieraj ostatni plik przy &starcie"));
        // Off: a new start opens nothing.
        fx.List().ReopenLastFile();
        QCOMPARE(fx.List().FileName(), QString());
        option->trigger();
        QCOMPARE(QSettings(fx.SettingsPath(), QSettings::IniFormat).value("Recent/ReopenLast").toString(), QString("1"));
        // Files opened after it was set leave it set, and the latest reopens.
        const QString other = fx.PathOf("other.bbx");
        MakeCollection({"C"}).SaveToFile(other.toStdString());
        fx.List().OpenFile(other);
        fx.List().OpenFile(path);
        fx.Stop();
        fx.Start();
        QVERIFY(StartOption(fx.Main())->isChecked());
        QCOMPARE(fx.List().RecentFiles(), (QStringList{path, other}));
        fx.List().ReopenLastFile();
        QCOMPARE(fx.List().FileName(), path);
        QCOMPARE(ModelNames(fx.List().Collection()), (std::vector<std::string>{"A", "B"}));

        // A last file that has gone is told, and nothing else changes.
        fx.List().New();
        QFile::remove(path);
        bool refused = false;
        try {
            fx.List().ReopenLastFile();
        } catch (const std::exception& error) {
            refused = QString::fromUtf8(error.what()).contains("last.bbx");
        }
        QVERIFY(refused);
        QCOMPARE(fx.List().FileName(), QString());

        StartOption(fx.Main())->trigger();
        fx.Stop();
        WriteBytes(fx.SettingsPath(), "[Recent]\nFile1=" + path.toStdString() + "\nReopenLast=maybe\n");
        fx.Start();
        QVERIFY(!fx.List().ReopensLastFile());
    }

    void EachModelsViewIsKeptWithItsFile() {
        TEditorFixture fx;
        const QString path = fx.PathOf("views.bbx");
        MakeCollection({"A", "B"}).SaveToFile(path.toStdString());
        fx.List().OpenFile(path);
        const editor::TModelView turned{2.5f, 10, -20, 30, 0.5f, -0.25f, 900};
        editor::TfrmModel* a = fx.List().OpenModelWindow(*fx.List().Collection().Items(0));
        a->SetView(turned);
        QCOMPARE(a->Camera().Zoom, 2.5f);
        a->close();
        QTest::qWait(0);
        QVERIFY(SameView(fx.List().OpenModelWindow(*fx.List().Collection().Items(0))->View(), turned));
        // Another model of the file starts as any new window does.
        QVERIFY(SameView(fx.List().OpenModelWindow(*fx.List().Collection().Items(1))->View(), editor::TModelView{}));

        // Windows still open when the editor ends are kept too.
        fx.Stop();
        fx.Start();
        fx.List().OpenFile(path);
        QVERIFY(SameView(fx.List().OpenModelWindow(*fx.List().Collection().Items(0))->View(), turned));

        // Values that cannot be read or are out of range take their defaults.
        fx.Stop();
        {
            QSettings ini(fx.SettingsPath(), QSettings::IniFormat);
            QCOMPARE(ini.value("ModelViews/size").toInt(), 2);
            QCOMPARE(ini.value("ModelViews/1/Model").toString(), QString("0 A"));
            ini.setValue("ModelViews/1/Zoom", "nan");
            ini.setValue("ModelViews/1/PanX", "1e30");
            ini.setValue("ModelViews/1/PanY", "many");
            ini.setValue("ModelViews/1/r", "-5");
            ini.setValue("ModelViews/1/ky", "inf");
        }
        fx.Start();
        fx.List().OpenFile(path);
        const editor::TModelView v = fx.List().OpenModelWindow(*fx.List().Collection().Items(0))->View();
        QVERIFY(SameView(v, editor::TModelView{1, 0, 0, 30, 0.5f, 0, 1250}));

        // A file without a name keeps nothing.
        fx.List().New();
        fx.List().AddModel();
        editor::TfrmModel* untitled = fx.List().OpenModelWindow(*fx.List().Collection().Items(0));
        untitled->SetView(turned);
        untitled->close();
        QCOMPARE(editor::ReadModelView(fx.SettingsPath(), QString(), "0 Model 0"), std::nullopt);
    }

    void OnlyTheLatestViewsAreKept() {
        QTemporaryDir dir;
        const QString ini = dir.filePath("bbxedit.ini");
        for (int i = 0; i < editor::kRememberedViews + 6; ++i)
            editor::WriteModelView(ini, "/f.bbx", QString("%1 M").arg(i), editor::TModelView{float(i), 0, 0, 0, 0, 0, 1});
        QCOMPARE(editor::ReadModelView(ini, "/f.bbx", "0 M"), std::nullopt);
        QCOMPARE(editor::ReadModelView(ini, "/f.bbx", "5 M"), std::nullopt);
        QCOMPARE(editor::ReadModelView(ini, "/f.bbx", "6 M")->Zoom, 6.0f);
        QCOMPARE(editor::ReadModelView(ini, "/f.bbx", "69 M")->Zoom, 69.0f);
        QCOMPARE(editor::ReadModelView(ini, "/g.bbx", "69 M"), std::nullopt);
        // Any name and path read back as written.
        const QString odd = QString::fromUtf8("7 a, b; c=d \"q\" [x]/y\\z łódź");
        editor::WriteModelView(ini, "/dir with, comma/f.bbx", odd, editor::TModelView{3, 0, 0, 0, 0, 0, 1});
        QCOMPARE(editor::ReadModelView(ini, "/dir with, comma/f.bbx", odd)->Zoom, 3.0f);
        // Writing one again brings it to the front instead of adding it twice.
        editor::WriteModelView(ini, "/f.bbx", "6 M", editor::TModelView{});
        QCOMPARE(QSettings(ini, QSettings::IniFormat).value("ModelViews/size").toInt(), editor::kRememberedViews);
        QCOMPARE(editor::ReadModelView(ini, "/dir with, comma/f.bbx", odd)->Zoom, 3.0f);
        QCOMPARE(QSettings(ini, QSettings::IniFormat).value("ModelViews/1/Model").toString(), QString("6 M"));
    }

    void FirstSizesFitTheScreenAtAnyScale() {
        TEditorFixture fx;
        // A model window with a long status text, which the main window's
        // smallest size must not follow.
        fx.List().AddModel();
        editor::TfrmModel* window = fx.List().OpenModelWindow(*fx.List().Collection().Items(0));
        for (int i = 0; i < 30; ++i) window->InsertSphere();
        const QSize needed = fx.Main().minimumSizeHint();
        const QSize wanted(1000, 740);
        // 1280 × 800 at scales 1, 1.5 and 2, in device-independent pixels, and a small 1024 × 600.
        for (const QSize screen : {QSize(1280, 800), QSize(853, 533), QSize(640, 400), QSize(1024, 600)}) {
            const QSize first = editor::FirstSize(wanted, needed, editor::MainWindowRoom(QRect(QPoint(0, 0), screen)));
            QVERIFY2(first.width() <= screen.width() && first.height() <= screen.height(),
                     qPrintable(QString("%1 x %2 on %3 x %4").arg(first.width()).arg(first.height()).arg(screen.width()).arg(screen.height())));
        }
        QCOMPARE(editor::FirstSize(wanted, needed, editor::MainWindowRoom(QRect(0, 0, 1280, 800))), QSize(1000, 720));
        QCOMPARE(editor::FirstSize(wanted, needed, editor::MainWindowRoom(QRect(0, 0, 1920, 1080))), wanted);
        // A child window takes what the area offers, never less than it needs.
        QCOMPARE(editor::FirstSize({900, 700}, {400, 380}, {600, 300}), QSize(600, 380));
        // ... leaving room for the area's scroll bar in the other direction.
        QCOMPARE(editor::FirstSize({900, 700}, {400, 380}, {600, 300}, 16), QSize(584, 380));
        QCOMPARE(editor::FirstSize({900, 700}, {700, 200}, {600, 300}, 16), QSize(700, 284));
        QCOMPARE(editor::FirstSize({500, 250}, {400, 200}, {600, 300}, 16), QSize(500, 250));
        // The list window opened within the area.
        const QSize area = fx.Main().MdiArea()->viewport()->size();
        QVERIFY(fx.List().width() <= std::max(area.width(), fx.List().minimumWidth()));
        QVERIFY(fx.List().height() <= std::max(area.height(), fx.List().minimumHeight()));
    }

    void FileDialogsSpeakPolish() {
        QCOMPARE(editor::PolishFileSize(0), QString::fromUtf8("0 bajtów"));
        QCOMPARE(editor::PolishFileSize(1), QString("1 bajt"));
        QCOMPARE(editor::PolishFileSize(3), QString("3 bajty"));
        QCOMPARE(editor::PolishFileSize(5), QString::fromUtf8("5 bajtów"));
        QCOMPARE(editor::PolishFileSize(13), QString::fromUtf8("13 bajtów"));
        QCOMPARE(editor::PolishFileSize(24), QString("24 bajty"));
        QCOMPARE(editor::PolishFileSize(112), QString::fromUtf8("112 bajtów"));
        QCOMPARE(editor::PolishFileSize(1023), QString("1023 bajty"));
        QCOMPARE(editor::PolishFileSize(5000), QString("4,88 KiB"));

        QTemporaryDir dir;
        WriteBytes(dir.filePath("a.bbx"), std::string(5000, '\x01'));
        QFileDialog dialog(nullptr, "Otwórz", dir.path());
        editor::PrepareFileDialog(dialog);
        dialog.setViewMode(QFileDialog::Detail);
        dialog.show();
        auto* files = dialog.findChild<QFileSystemModel*>();
        QVERIFY(files && dialog.proxyModel());
        const auto cell = [&](int column) {
            return dialog.proxyModel()->mapFromSource(files->index(dir.filePath("a.bbx"), column)).data().toString();
        };
        QTRY_COMPARE(cell(1), QString("4,88 KiB"));
        QTRY_VERIFY(!cell(2).isEmpty());
        QVERIFY2(!cell(2).contains("unknown", Qt::CaseInsensitive), qPrintable(cell(2)));
        QVERIFY2(!cell(3).contains(QRegularExpression("[A-Za-z]")), qPrintable(cell(3)));
    }

    void TheFileLivesBesideTheProgramWhenThatFolderCanBeWritten() {
        QTemporaryDir dir;
        QCOMPARE(editor::SettingsFilePath(dir.path(), "/home/u/.config/bbxedit"), dir.filePath("bbxedit.ini"));
        QCOMPARE(editor::SettingsFilePath(dir.filePath("not-there"), "/home/u/.config/bbxedit"),
                 QString("/home/u/.config/bbxedit/bbxedit.ini"));
        // A settings folder that does not exist yet is created on writing.
        const QString nested = dir.filePath("config/bbxedit/bbxedit.ini");
        editor::WriteSettings(nested, editor::TEditorSettings{});
        QCOMPARE(editor::ReadSettings(nested).Zoom, 4);
        QVERIFY(QFile::exists(nested));
    }
};

QTEST_MAIN(EditorSettingsTest)
#include "editor_settings_test.moc"
