#include "editor/frm_main.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QMdiArea>
#include <QMenuBar>
#include <QMessageBox>

#include "editor/application_setup.h"
#include "editor/error_box.h"
#include "editor/frm_list.h"
#include "editor/frm_model.h"

namespace editor {

TfrmMain::TfrmMain(QString settingsPath) : SettingsPath(std::move(settingsPath)), FMdiArea(new QMdiArea(this)) {
    setObjectName("frmMain");
    setWindowTitle(kProgramTitle);
    FMdiArea->setObjectName("MdiArea");
    setCentralWidget(FMdiArea);
    CreateMenus();
    resize(696, 480);
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::CreateMenus() {
    const auto text = [](const char* utf8) { return QString::fromUtf8(utf8); };
    QMenu* file = menuBar()->addMenu(text("&Plik"));
    AddListCommand(file, text("&Nowy"), Qt::CTRL | Qt::Key_N, &TfrmList::New);
    AddListCommand(file, text("&Otwórz..."), Qt::CTRL | Qt::Key_O, &TfrmList::Open);
    AddCommand(file, text("&Zapisz"), Qt::CTRL | Qt::Key_S, [this] { FList->Save(); });
    AddCommand(file, text("Zapisz &jako..."), {}, [this] { FList->SaveAs(); });
    file->addSeparator();
    AddListCommand(file, text("&Importuj..."), {}, &TfrmList::Import);
    file->addSeparator();
    AddCommand(file, text("Za&kończ"), {}, [this] { close(); });

    QMenu* edit = menuBar()->addMenu(text("&Edycja"));
    AddModelWindowCommand(edit, text("&Wytnij"), Qt::CTRL | Qt::Key_X, &TfrmModel::CutSelected);
    AddModelWindowCommand(edit, text("&Kopiuj"), Qt::CTRL | Qt::Key_C, &TfrmModel::CopySelected);
    AddModelWindowCommand(edit, text("Wkl&ej"), Qt::CTRL | Qt::Key_V, &TfrmModel::PasteElement);
    AddModelWindowCommand(edit, text("&Usuń..."), Qt::Key_Delete, &TfrmModel::DeleteSelected);

    QMenu* insert = menuBar()->addMenu(text("&Wstaw"));
    AddModelWindowCommand(insert, text("&Kulę"), Qt::Key_Insert, &TfrmModel::InsertSphere);
    AddModelWindowCommand(insert, text("&Szereg"), Qt::SHIFT | Qt::Key_Insert, &TfrmModel::InsertSeries);

    QMenu* model = menuBar()->addMenu(text("&Model"));
    AddListCommand(model, text("&Dodaj"), Qt::CTRL | Qt::Key_Insert, &TfrmList::AddModel);
    AddListCommand(model, text("Utwórz kopię"), {}, &TfrmList::CopyModel);
    AddListCommand(model, text("&Usuń..."), Qt::CTRL | Qt::Key_Delete, &TfrmList::DeleteModel);
    AddListCommand(model, text("&Edytuj"), {}, &TfrmList::EditModel);
    model->addSeparator();
    AddListCommand(model, text("Do &góry"), Qt::CTRL | Qt::Key_Up, &TfrmList::MoveUp);
    AddListCommand(model, text("W dół"), Qt::CTRL | Qt::Key_Down, &TfrmList::MoveDown);

    WindowMenu = menuBar()->addMenu(text("&Okno"));
    CascadeAction = new QAction(text("&Kaskadowo"), this);
    connect(CascadeAction, &QAction::triggered, FMdiArea, &QMdiArea::cascadeSubWindows);
    connect(WindowMenu, &QMenu::aboutToShow, this, &TfrmMain::FillWindowMenu);
    FillWindowMenu();

    QMenu* help = menuBar()->addMenu(text("Pomo&c"));
    AddCommand(help, text("&O programie..."), {}, [this] { ShowAbout(); });
}

QAction* TfrmMain::AddCommand(QMenu* menu, const QString& caption, const QKeySequence& shortcut,
                              std::function<void()> command) {
    QAction* action = menu->addAction(caption);
    action->setShortcut(shortcut);
    connect(action, &QAction::triggered, this, [command = std::move(command)] { RunGuarded(command); });
    return action;
}

void TfrmMain::AddListCommand(QMenu* menu, const QString& caption, const QKeySequence& shortcut,
                              void (TfrmList::*command)()) {
    AddCommand(menu, caption, shortcut, [this, command] {
        if (FList) (FList.get()->*command)();
    });
}

void TfrmMain::AddModelWindowCommand(QMenu* menu, const QString& caption, const QKeySequence& shortcut,
                                     void (TfrmModel::*command)()) {
    // With the list window (or nothing) as the current child these do nothing.
    AddCommand(menu, caption, shortcut, [this, command] {
        if (TfrmModel* window = ActiveModelWindow()) (window->*command)();
    });
}

TfrmModel* TfrmMain::ActiveModelWindow() const { return qobject_cast<TfrmModel*>(FMdiArea->currentSubWindow()); }

void TfrmMain::FillWindowMenu() {
    // The window list: the open child windows, numbered, the current one checked.
    WindowMenu->clear();
    WindowMenu->addAction(CascadeAction);
    const QList<QMdiSubWindow*> windows = FMdiArea->subWindowList();
    if (!windows.isEmpty()) WindowMenu->addSeparator();
    int number = 0;
    for (QMdiSubWindow* window : windows) {
        QString title = window->windowTitle();
        title.replace("[*][*]", "[*]").replace('&', "&&");
        QAction* item = WindowMenu->addAction(QString("&%1 %2").arg(++number).arg(title));
        item->setCheckable(true);
        item->setChecked(window == FMdiArea->currentSubWindow());
        connect(item, &QAction::triggered, FMdiArea, [this, window] { FMdiArea->setActiveSubWindow(window); });
    }
}

void TfrmMain::ShowAbout() {
    QMessageBox::information(this, "O programie",
                             QString(kProgramTitle) + "\n\n" +
                                 QString::fromUtf8("Edytor modeli z kul do gry GlimmerBay. Napisał zespół GlimmerBay."));
}

void TfrmMain::UpdateTitle(const QString& fileName) {
    setWindowTitle(fileName.isEmpty() ? QString(kProgramTitle)
                                      : QString(kProgramTitle) + " - " + QFileInfo(fileName).fileName());
}

void TfrmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (FList) return;
    FList = std::make_unique<TfrmList>(*FMdiArea, SettingsPath);
    connect(FList.get(), &TfrmList::FileNameChanged, this, &TfrmMain::UpdateTitle);
    FMdiArea->addSubWindow(FList.get());
    FList->move(0, 0);
    FList->show();
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    bool proceed = true;
    if (FList) {
        proceed = false;
        RunGuarded([&] { proceed = FList->AskSaveChanges(QString::fromUtf8("Zakończ")); });
    }
    if (proceed)
        event->accept();
    else
        event->ignore();
}

}  // namespace editor
