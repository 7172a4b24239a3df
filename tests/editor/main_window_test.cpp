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

// The captions of the menu's items that can be chosen now, leaving out Undo
// and Redo, which follow the file's history rather than the window.
QStringList Enabled(const editor::TfrmMain& main, const QString& menu) {
    QStringList captions;
    for (QAction* top : main.menuBar()->actions())
        if (top->text() == menu)
            for (QAction* item : top->menu()->actions())
                if (!item->isSeparator() && item->isEnabled() && item->text() != "&Cofnij" &&
                    item->text() != QString::fromUtf8("&Ponów"))
                    captions << item->text();
    return captions;
}

const QString kPasteable = "BBX 1 2 3 4 5 6 7 8 255 -1";

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
            "&Plik | Os&tatnie pliki | ", "&Plik | -",
            QString::fromUtf8("&Plik | Za&kończ | "), "&Edycja | &Cofnij | Ctrl+Z",
            QString::fromUtf8("&Edycja | &Ponów | Ctrl+Shift+Z"), "&Edycja | -", "&Edycja | &Wytnij | Ctrl+X", "&Edycja | &Kopiuj | Ctrl+C",
            "&Edycja | Wkl&ej | Ctrl+V", QString::fromUtf8("&Edycja | &Usuń... | Del"), "&Edycja | P&owiel | Ctrl+D",
            QString::fromUtf8("&Edycja | Zamień na &szereg | "), QString::fromUtf8("&Wstaw | &Kulę | Ins"),
            "&Wstaw | &Szereg | Shift+Ins", "Wi&dok | &Dopasuj do modelu | F", "&Model | &Dodaj | Ctrl+Ins", QString::fromUtf8("&Model | Utwórz kopię | "),
            QString::fromUtf8("&Model | &Usuń... | Ctrl+Del"), "&Model | &Edytuj | ", "&Model | -",
            QString::fromUtf8("&Model | Do &góry | Ctrl+Up"), QString::fromUtf8("&Model | W dół | Ctrl+Down"),
            "&Okno | &Kaskadowo | ", QString::fromUtf8("&Okno | &Sąsiadująco | "), "&Okno | &Zamknij | Ctrl+F4",
            "&Okno | -", "&Okno | &1 Lista modeli | ",
            QString::fromUtf8("Pomo&c | &O programie... | ")};
        QCOMPARE(shown, expected);
        QCOMPARE(fx.Main().windowTitle(), QString("Bulbix Editor[*]"));  // "[*]": the modified mark's place
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

    void ElementCommandsFollowTheActiveWindow() {
        TEditorFixture fx;
        QApplication::clipboard()->setText(kPasteable);
        const QStringList all = {"&Wytnij", "&Kopiuj", "Wkl&ej", QString::fromUtf8("&Usuń..."), "P&owiel",
                                 QString::fromUtf8("Zamień na &szereg")};
        const QStringList inserts = {QString::fromUtf8("&Kulę"), "&Szereg"};
        // Only the list window: nothing to act on.
        QCOMPARE(Enabled(fx.Main(), "&Edycja"), QStringList());
        QCOMPARE(Enabled(fx.Main(), "&Wstaw"), QStringList());
        QCOMPARE(Enabled(fx.Main(), "&Plik").size(), 7);

        fx.List().AddModel();
        fx.ClickRow(0);
        fx.List().EditModel();
        TfrmModel* window = fx.ActiveModelWindow();
        QVERIFY(window);
        QCOMPARE(Enabled(fx.Main(), "&Edycja"), QStringList{"Wkl&ej"});
        QCOMPARE(Enabled(fx.Main(), "&Wstaw"), inserts);
        window->InsertSphere();
        QCOMPARE(Enabled(fx.Main(), "&Edycja"), all);

        // A click on empty space clears the selection; one on the sphere's centre selects it.
        auto* front = window->findChild<editor::TPaintBox*>("PaintBox1");
        QTest::mouseClick(front, Qt::LeftButton, {}, {1, 1});
        QCOMPARE(Enabled(fx.Main(), "&Edycja"), QStringList{"Wkl&ej"});
        QTest::mouseClick(front, Qt::LeftButton, {}, {front->width() / 2, front->height() / 2});
        QCOMPARE(window->Selected(), 0);
        QCOMPARE(Enabled(fx.Main(), "&Edycja"), all);

        // Paste follows what the clipboard holds.
        QApplication::clipboard()->setText("BBX 1 2 3");
        QCOMPARE(Enabled(fx.Main(), "&Edycja"), (QStringList{"&Wytnij", "&Kopiuj", QString::fromUtf8("&Usuń..."),
                                                             "P&owiel", QString::fromUtf8("Zamień na &szereg")}));
        Key(front, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(window->Model().Count(), 1);
        Key(front, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(Enabled(fx.Main(), "&Edycja"), all);

        fx.Main().MdiArea()->setActiveSubWindow(&fx.List());
        QCOMPARE(Enabled(fx.Main(), "&Edycja"), QStringList());
        QCOMPARE(Enabled(fx.Main(), "&Wstaw"), QStringList());
        fx.Main().MdiArea()->setActiveSubWindow(window);
        QCOMPARE(Enabled(fx.Main(), "&Edycja"), all);
        QCOMPARE(Enabled(fx.Main(), "&Wstaw"), inserts);

        window->close();
        QCOMPARE(fx.ActiveModelWindow(), nullptr);
        QCOMPARE(Enabled(fx.Main(), "&Edycja"), QStringList());
        QCOMPARE(Enabled(fx.Main(), "&Wstaw"), QStringList());
        Key(&fx.ListView(), Qt::Key_Insert);
        QCOMPARE(fx.List().Collection().Items(0)->Count(), 1);
    }

    void ModelCommandsFollowTheListSelection() {
        TEditorFixture fx;
        TDialogAnswerer answers;
        for (int i = 0; i < 3; ++i) fx.List().AddModel();
        const QString add = "&Dodaj";
        const QString copy = QString::fromUtf8("Utwórz kopię");
        const QString remove = QString::fromUtf8("&Usuń...");
        const QString edit = "&Edytuj";
        const QString up = QString::fromUtf8("Do &góry");
        const QString down = QString::fromUtf8("W dół");
        QCOMPARE(Enabled(fx.Main(), "&Model"), QStringList{add});
        fx.ClickRow(0);
        QCOMPARE(Enabled(fx.Main(), "&Model"), (QStringList{add, copy, remove, edit, down}));
        Key(&fx.ListView(), Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(Enabled(fx.Main(), "&Model"), (QStringList{add, copy, remove, edit, up, down}));
        Key(&fx.ListView(), Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(fx.List().Collection().IndexOf(fx.List().SelectedModel()), 2);
        QCOMPARE(Enabled(fx.Main(), "&Model"), (QStringList{add, copy, remove, edit, up}));

        // They follow the list whichever window is current.
        fx.List().EditModel();
        QVERIFY(fx.ActiveModelWindow());
        Key(fx.ActiveModelWindow(), Qt::Key_Up, Qt::ControlModifier);
        QCOMPARE(Enabled(fx.Main(), "&Model"), (QStringList{add, copy, remove, edit, up, down}));
        answers.AnswerMessage(QMessageBox::Yes);
        Key(fx.ActiveModelWindow(), Qt::Key_Delete, Qt::ControlModifier);
        QVERIFY(answers.AllAnswered());
        QCOMPARE(fx.List().Collection().Count(), 2);
        QCOMPARE(Enabled(fx.Main(), "&Model"), QStringList{add});
        // Replacing the collection leaves nothing selected.
        fx.Activate();
        fx.ClickRow(0);
        answers.AnswerMessage(QMessageBox::No);
        Key(&fx.ListView(), Qt::Key_N, Qt::ControlModifier);
        QVERIFY(answers.AllAnswered());
        QCOMPARE(Enabled(fx.Main(), "&Model"), QStringList{add});
    }

    void KeysOfACommandThatCannotActDoNothing() {
        TEditorFixture fx;
        fx.List().AddModel();
        fx.List().AddModel();
        fx.ClickRow(1);
        // The list view would copy its current cell.
        QApplication::clipboard()->setText("kept");
        Key(&fx.ListView(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QString("kept"));
        QCOMPARE(fx.List().SelectedModel(), fx.List().Collection().Items(1));

        fx.List().EditModel();
        TfrmModel* window = fx.ActiveModelWindow();
        window->InsertSphere();
        fx.ListView().clearSelection();
        QCOMPARE(Enabled(fx.Main(), "&Model"), QStringList{"&Dodaj"});
        // A field would delete the word after its cursor, and Ctrl+Up or
        // Ctrl+Down in the list would select a row.
        auto* x1 = window->findChild<QLineEdit*>("edtx1");
        Type(x1, "12.5");
        x1->home(false);
        Key(x1, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(x1->text(), QString("12.5"));
        QCOMPARE(window->Model().GetElement(0).X1, 12.5f);
        fx.Main().MdiArea()->setActiveSubWindow(&fx.List());
        fx.ListView().setFocus();
        Key(&fx.ListView(), Qt::Key_Up, Qt::ControlModifier);
        Key(&fx.ListView(), Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(fx.List().SelectedModel(), nullptr);
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
        fx.List().AddModel();
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
        fx.List().AddModel();
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
        QCOMPARE(items, (QStringList{"&Kaskadowo", QString::fromUtf8("&Sąsiadująco"), "&Zamknij", "&1 Lista modeli*",
                                     "&2 Model 0 *", "&3 Model 1"}));
        windows->actions().at(4)->trigger();
        QCOMPARE(fx.Main().MdiArea()->currentSubWindow(), &fx.List());

        windows->actions().at(0)->trigger();  // Kaskadowo
        const QList<QMdiSubWindow*> children = fx.Main().MdiArea()->subWindowList();
        QCOMPARE(children.at(0)->pos(), QPoint(0, 0));
        QVERIFY(children.at(1)->pos().x() > 0 && children.at(1)->pos().y() > 0);
        QVERIFY(children.at(2)->pos().x() > children.at(1)->pos().x());
    }

    void CascadeAndTileKeepEveryWindowUsable() {
        TEditorFixture fx;
        fx.Main().resize(900, 650);
        for (int i = 0; i < 3; ++i) fx.List().AddModel();
        for (int i = 0; i < 3; ++i) fx.List().OpenModelWindow(*fx.List().Collection().Items(i));
        for (const char* arrangement : {"&Kaskadowo", "&Sąsiadująco"}) {
            Command(fx.Main(), "&Okno", QString::fromUtf8(arrangement))->trigger();
            for (QMdiSubWindow* window : fx.Main().MdiArea()->subWindowList()) {
                const QSize inner = window->widget()->size();
                QVERIFY2(inner.width() >= window->widget()->minimumWidth() &&
                             inner.height() >= window->widget()->minimumHeight(),
                         qPrintable(window->windowTitle()));
            }
            // The list window's last field and its button stay inside it.
            const QWidget* button = fx.List().findChild<QWidget*>("btnBackground");
            QVERIFY(fx.List().widget()->rect().contains(
                QRect(button->mapTo(fx.List().widget(), QPoint(0, 0)), button->size())));
            QVERIFY(fx.List().widget()->width() >= 150 + 4 + 2 * 85);
        }
        // The editing window's panel is never cut off either.
        TfrmModel* window = fx.ActiveModelWindow();
        window->resize(50, 50);
        QVERIFY(window->widget()->height() >= 353);
    }

    void TheFirstEditingWindowShowsTheGuidesAndFitsTheArea() {
        TEditorFixture fx;
        fx.Main().resize(1200, 900);
        fx.List().AddModel();
        TfrmModel* window = fx.List().OpenModelWindow(*fx.List().Collection().Items(0));
        for (const char* name : {"PaintBox1", "PaintBox2", "PaintBox3"}) {
            auto* view = window->findChild<editor::TPaintBox*>(name);
            const QImage shown = view->grab().toImage();
            const int cx = view->width() / 2, cy = view->height() / 2;
            QCOMPARE(shown.pixel(cx - 128, 5), qRgb(128, 128, 128));
            QCOMPARE(shown.pixel(cx + 128, 5), qRgb(128, 128, 128));
            QCOMPARE(shown.pixel(5, cy - 128), qRgb(128, 128, 128));
            QCOMPARE(shown.pixel(5, cy + 128), qRgb(128, 128, 128));
        }
        // In a small main window it takes what the area offers.
        fx.Main().resize(640, 400);
        QTest::qWait(0);
        fx.List().AddModel();
        TfrmModel* small = fx.List().OpenModelWindow(*fx.List().Collection().Items(1));
        QVERIFY(small->width() <= std::max(fx.Main().MdiArea()->viewport()->width(), small->minimumWidth()));
        QVERIFY(small->height() <= std::max(fx.Main().MdiArea()->viewport()->height(), small->minimumHeight()));
    }

    void CtrlInsFromAFieldAndCtrlF4() {
        TEditorFixture fx;
        fx.List().AddModel();
        fx.ClickRow(0);
        auto* name = fx.List().findChild<QLineEdit*>("edtNazwa");
        name->setFocus();
        Key(name, Qt::Key_Insert, Qt::ControlModifier);
        QCOMPARE(fx.List().Collection().Count(), 2);
        QCOMPARE(name->text(), QString("Model 0"));

        fx.List().EditModel();
        TfrmModel* window = fx.ActiveModelWindow();
        QVERIFY(window);
        auto* x1 = window->findChild<QLineEdit*>("edtx1");
        x1->setFocus();
        Key(x1, Qt::Key_Insert, Qt::ControlModifier);
        QCOMPARE(fx.List().Collection().Count(), 3);
        Key(x1, Qt::Key_F4, Qt::ControlModifier);
        QTRY_COMPARE(fx.ActiveModelWindow(), nullptr);
        QCOMPARE(fx.Main().MdiArea()->subWindowList().size(), 1);
        // The list window itself stays.
        QVERIFY(!Command(fx.Main(), "&Okno", "&Zamknij")->isEnabled());
        Key(&fx.ListView(), Qt::Key_F4, Qt::ControlModifier);
        QVERIFY(fx.List().isVisible());
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
