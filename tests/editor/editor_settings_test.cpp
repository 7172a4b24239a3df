// The settings file "bbxedit.ini": written when the editor ends, read when it
// starts, defaults for what cannot be read, and where it is kept.
#include <QLineEdit>
#include <QMenu>
#include <QSettings>
#include <QSplitter>
#include <QTest>

#include "editor/application_setup.h"
#include "editor/editor_settings.h"
#include "editor/paint_box.h"
#include "support/dialog_answerer.h"
#include "support/editor_fixture.h"

namespace {

QLineEdit* Edit(const editor::TfrmList& list, const char* name) { return list.findChild<QLineEdit*>(name); }

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
        QCOMPARE(recent->actions().size(), 8);
        QCOMPARE(recent->actions().at(1)->text(), QString("&2 f9.bbx"));
        fx.List().AddModel();
        answers.AnswerMessage(QMessageBox::No);
        recent->actions().at(1)->trigger();
        QCOMPARE(fx.List().FileName(), fx.PathOf("f9.bbx"));
        QCOMPARE(fx.List().RecentFiles().first(), fx.PathOf("f9.bbx"));
        QVERIFY(answers.AllAnswered());
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
