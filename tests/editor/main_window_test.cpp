// The main window: its menus, where their commands and shortcuts go, the
// window list, the about box and the question before the program closes.
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenuBar>
#include <QTest>

#include "editor/application_setup.h"
#include "editor/paint_box.h"
#include "support/dialog_answerer.h"
#include "support/editor_fixture.h"

using editor::TfrmModel;

namespace {

QAction* Command(const editor::TfrmMain& main, const QString& menu, const QString& caption) {
    for (QAction* top : main.menuBar()->actions())
        if (top->text() == menu)
            for (QAction* item : top->menu()->actions())
                if (item->text() == caption) return item;
    return nullptr;
}

void Key(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(target, key, modifiers);
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { editor::SetUpApplication(*qApp); }

    void MenusHaveTheirCaptionsAndShortcuts() {
        TEditorFixture fx;
        QStringList shown;
        for (QAction* top : fx.Main().menuBar()->actions()) {
            emit top->menu()->aboutToShow();  // the window list is filled when it opens
            for (QAction* item : top->menu()->actions()) {
                if (item->isSeparator()) {
                    shown << top->text() + " | -";
                    continue;
                }
                shown << top->text() + " | " + item->text() + " | " + item->shortcut().toString();
            }
        }
        const QStringList expected = {
            "&Plik | &Nowy | Ctrl+N", QString::fromUtf8("&Plik | &Otwórz... | Ctrl+O"), "&Plik | &Zapisz | Ctrl+S",
            "&Plik | Zapisz &jako... | ", "&Plik | -", "&Plik | &Importuj... | ", "&Plik | -",
            QString::fromUtf8("&Plik | Za&kończ | "), "&Edycja | &Wytnij | Ctrl+X", "&Edycja | &Kopiuj | Ctrl+C",
            "&Edycja | Wkl&ej | Ctrl+V", QString::fromUtf8("&Edycja | &Usuń... | Del"), QString::fromUtf8("&Wstaw | &Kulę | Ins"),
            "&Wstaw | &Szereg | Shift+Ins", "&Model | &Dodaj | Ctrl+Ins", QString::fromUtf8("&Model | Utwórz kopię | "),
            QString::fromUtf8("&Model | &Usuń... | Ctrl+Del"), "&Model | &Edytuj | ", "&Model | -",
            QString::fromUtf8("&Model | Do &góry | Ctrl+Up"), QString::fromUtf8("&Model | W dół | Ctrl+Down"),
            "&Okno | &Kaskadowo | ", "&Okno | -", "&Okno | &1 Lista modeli | ",
            QString::fromUtf8("Pomo&c | &O programie... | ")};
        QCOMPARE(shown, expected);
        QCOMPARE(fx.Main().windowTitle(), QString("Bulbix Editor"));
    }

    void ShortcutsReachTheActiveModelWindowOrTheList() {
        TEditorFixture fx;
        Key(&fx.ListView(), Qt::Key_Insert, Qt::ControlModifier);
        Key(&fx.ListView(), Qt::Key_Insert, Qt::ControlModifier);
        QCOMPARE(fx.List().Collection().Count(), 2);
        bbx::Tbbx_model& model = *fx.List().Collection().Items(1);
        fx.ClickRow(1);
        // The element commands do nothing while the list window is current.
        Key(&fx.ListView(), Qt::Key_Insert);
        QCOMPARE(model.Count(), 0);

        Key(&fx.ListView(), Qt::Key_Return);
        TfrmModel* window = fx.ActiveModelWindow();
        QVERIFY(window);
        QWidget* front = window->findChild<editor::TPaintBox*>("PaintBox1");
        QTest::mouseClick(front, Qt::LeftButton, {}, {3, 3});
        QCOMPARE(QApplication::focusWidget(), front);
        Key(front, Qt::Key_Insert);
        Key(front, Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(model.Count(), 2);
        QVERIFY(!bbx::IsSingleSphere(model.GetElement(1)));
        Key(front, Qt::Key_C, Qt::ControlModifier);
        QVERIFY(QApplication::clipboard()->text().startsWith("BBX 0 -30 0 30 0 30 0 30 "));
        Key(front, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(model.Count(), 3);
        Key(front, Qt::Key_Delete);
        QCOMPARE(model.Count(), 2);
        window->SelectElement(0);
        Key(front, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(model.Count(), 1);
        QVERIFY(QApplication::clipboard()->text().startsWith("BBX 0 0 0 30 "));

        // The model commands still go to the list window, whatever is current.
        fx.List().findChild<QTreeWidget*>()->setCurrentItem(nullptr);
        Key(front, Qt::Key_Insert, Qt::ControlModifier);
        QCOMPARE(fx.List().Collection().Count(), 3);
        QCOMPARE(fx.ActiveModelWindow(), window);
    }

    void KeysInATextFieldEditTheText() {
        TEditorFixture fx;
        fx.List().AddModel();
        fx.ClickRow(0);
        fx.List().EditModel();
        TfrmModel* window = fx.ActiveModelWindow();
        window->InsertSphere();
        auto* radius = window->findChild<QLineEdit*>("edtr1");
        radius->setFocus();
        radius->selectAll();
        QApplication::clipboard()->setText("nothing yet");
        Key(radius, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QString("30"));
        radius->end(false);
        Key(radius, Qt::Key_Backspace);
        Key(radius, Qt::Key_Home);
        Key(radius, Qt::Key_Delete);
        QCOMPARE(radius->text(), QString(""));
        QCOMPARE(window->Model().Count(), 1);
        QApplication::clipboard()->setText("45");
        Key(radius, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(window->Model().GetElement(0).R1, 45.0f);
        QCOMPARE(window->Model().Count(), 1);
    }

    void ClosingAsksAndStaysOpenUnlessAllowed() {
        TEditorFixture fx;
        TDialogAnswerer answers;
        answers.AnswerMessage(QMessageBox::Cancel);
        QVERIFY(!fx.Main().close());
        const TDialogRecord& question = answers.Seen().at(0);
        QCOMPARE(question.Title, QString::fromUtf8("Zakończ"));
        QCOMPARE(question.Text, QString::fromUtf8("Czy zapisać zmiany w pliku ?"));
        QCOMPARE(question.Icon, QMessageBox::Question);

        // Yes on an untitled file asks for a name; cancelling that keeps the program.
        answers.AnswerMessage(QMessageBox::Yes);
        answers.ChooseFile({});
        QVERIFY(!fx.Main().close());

        // A save that fails keeps it open too, after the error box.
        fx.List().AddModel();
        answers.AnswerMessage(QMessageBox::Yes);
        answers.ChooseFile(fx.PathOf("folder-that-is-a-file.bbx/x.bbx"));
        WriteBytes(fx.PathOf("folder-that-is-a-file.bbx"), "");
        answers.AnswerMessage(QMessageBox::Ok);
        QVERIFY(!fx.Main().close());
        QCOMPARE(answers.Seen().back().Icon, QMessageBox::Critical);

        answers.AnswerMessage(QMessageBox::Yes);
        answers.ChooseFile(fx.PathOf("end.bbx"));
        QVERIFY(fx.Main().close());
        QCOMPARE(ReadBytes(fx.PathOf("end.bbx")), fx.List().Collection().SaveToBytes());
        QVERIFY(answers.AllAnswered());
    }

    void NoClosesWithoutSaving() {
        TEditorFixture fx;
        TDialogAnswerer answers;
        answers.AnswerMessage(QMessageBox::No);
        Command(fx.Main(), "&Plik", QString::fromUtf8("Za&kończ"))->trigger();
        QVERIFY(!fx.Main().isVisible());
        QVERIFY(answers.AllAnswered());
    }

    void WindowMenuListsTheChildrenAndCascades() {
        TEditorFixture fx;
        fx.List().AddModel();
        fx.List().AddModel();
        fx.ClickRow(0);
        fx.List().EditModel();
        fx.ClickRow(1);
        fx.List().EditModel();
        fx.List().OpenModelWindow(*fx.List().Collection().Items(0));
        QMenu* windows = nullptr;
        for (QAction* top : fx.Main().menuBar()->actions())
            if (top->text() == "&Okno") windows = top->menu();
        QVERIFY(windows);
        emit windows->aboutToShow();
        QStringList items;
        for (QAction* item : windows->actions())
            if (!item->isSeparator()) items << item->text() + (item->isChecked() ? " *" : "");
        QCOMPARE(items, (QStringList{"&Kaskadowo", "&1 Lista modeli", "&2 Model 0 *", "&3 Model 1"}));
        windows->actions().at(2)->trigger();
        QCOMPARE(fx.Main().MdiArea()->currentSubWindow(), &fx.List());

        windows->actions().at(0)->trigger();
        const QList<QMdiSubWindow*> children = fx.Main().MdiArea()->subWindowList();
        QCOMPARE(children.at(0)->pos(), QPoint(0, 0));
        QVERIFY(children.at(1)->pos().x() > 0 && children.at(1)->pos().y() > 0);
        QVERIFY(children.at(2)->pos().x() > children.at(1)->pos().x());
    }

    void AboutBoxNamesTheProgram() {
        TEditorFixture fx;
        TDialogAnswerer answers;
        answers.AnswerMessage(QMessageBox::Ok);
        Command(fx.Main(), "Pomo&c", QString::fromUtf8("&O programie..."))->trigger();
        QVERIFY(answers.AllAnswered());
        QCOMPARE(answers.Seen().at(0).Title, QString("O programie"));
        QCOMPARE(answers.Seen().at(0).Icon, QMessageBox::Information);
        QVERIFY(answers.Seen().at(0).Text.startsWith("Bulbix Editor\n\n"));
        QCOMPARE(answers.Seen().at(0).Buttons, QStringList{"OK"});
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
