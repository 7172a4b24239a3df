#include "editor/frm_main.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QStatusBar>
#include <QStyle>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenuBar>
#include <QMessageBox>
#include <QRegularExpression>
#include <QScreen>
#include <QShortcut>

#include "editor/application_setup.h"
#include "editor/editor_settings.h"
#include "editor/error_box.h"
#include "editor/first_size.h"
#include "editor/frm_list.h"
#include "editor/frm_model.h"
#include "editor/qt_convert.h"

namespace editor {
namespace {

constexpr QSize kFirstSize(1000, 740);

QString ShownTitle(const QWidget& window) {
    // As Qt shows a title: "[*]" is the modified mark, "[*][*]" a literal "[*]".
    QString title = window.windowTitle();
    static const QRegularExpression placeholder(R"(\[\*\](\[\*\])?)");
    QString shown;
    qsizetype from = 0;
    for (const QRegularExpressionMatch& match : placeholder.globalMatch(title)) {
        shown += title.mid(from, match.capturedStart() - from);
        shown += match.capturedLength() > 3 ? QString("[*]") : window.isWindowModified() ? QString("*") : QString();
        from = match.capturedEnd();
    }
    return shown + title.mid(from);
}

}  // namespace

TfrmMain::TfrmMain(QString settingsPath) : SettingsPath(std::move(settingsPath)), FMdiArea(new QMdiArea(this)) {
    setObjectName("frmMain");
    UpdateTitle({});
    FMdiArea->setObjectName("MdiArea");
    // A child window larger than the area (on a small screen) can be scrolled to.
    FMdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    FMdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(FMdiArea);
    CreateMenus();
    WindowStatus = new QLabel(this);
    FileStatus = new QLabel(this);
    // However long the status text, it never makes the window wider.
    WindowStatus->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    statusBar()->addWidget(WindowStatus, 1);
    statusBar()->addPermanentWidget(FileStatus);
    // Room for the list window and an editing window beside it, within the
    // screen at any scale factor.
    resize(FirstSize(kFirstSize, minimumSizeHint(), MainWindowRoom(screen()->availableGeometry())));
    // Where the user left it, unless that no longer fits a screen.
    restoreGeometry(ReadWindowGeometry(SettingsPath));
    connect(FMdiArea, &QMdiArea::subWindowActivated, this, &TfrmMain::WindowActivated);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &TfrmMain::ClipboardChanged);
    ClipboardChanged();
    qApp->installEventFilter(this);
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
    // A text field takes Ctrl+Ins for copying; here it is Model › Dodaj, a
    // command that goes to the list window whatever has the focus.
    if (event->type() == QEvent::ShortcutOverride && qobject_cast<QLineEdit*>(watched) &&
        static_cast<QWidget*>(watched)->window() == this) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Insert && key->modifiers() == Qt::ControlModifier) return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

TfrmMain::~TfrmMain() {
    // The area reports activations while the list window and its editing
    // windows are destroyed; the menus must not ask the half-gone list then.
    disconnect(FMdiArea, nullptr, this, nullptr);
}

void TfrmMain::CreateMenus() {
    const auto text = [](const char* utf8) { return QString::fromUtf8(utf8); };
    QMenu* file = menuBar()->addMenu(text("&Plik"));
    AddListCommand(file, text("&Nowy"), Qt::CTRL | Qt::Key_N, &TfrmList::New);
    AddListCommand(file, text("&Otwórz..."), Qt::CTRL | Qt::Key_O, &TfrmList::Open);
    AddListCommand(file, text("&Zapisz"), Qt::CTRL | Qt::Key_S, &TfrmList::Save);
    AddListCommand(file, text("Zapisz &jako..."), {}, &TfrmList::SaveAs);
    file->addSeparator();
    AddListCommand(file, text("&Importuj..."), {}, &TfrmList::Import);
    file->addSeparator();
    RecentMenu = file->addMenu(text("Os&tatnie pliki"));
    RecentMenu->setToolTipsVisible(true);
    connect(RecentMenu, &QMenu::aboutToShow, this, &TfrmMain::FillRecentMenu);
    file->addSeparator();
    AddCommand(file, text("Za&kończ"), {}, [this] { close(); });

    QMenu* edit = menuBar()->addMenu(text("&Edycja"));
    AddListCommand(edit, text("&Cofnij"), Qt::CTRL | Qt::Key_Z, &TfrmList::Undo, &TfrmList::CanUndo);
    AddListCommand(edit, text("&Ponów"), Qt::CTRL | Qt::SHIFT | Qt::Key_Z, &TfrmList::Redo, &TfrmList::CanRedo)
        ->setShortcuts({Qt::CTRL | Qt::SHIFT | Qt::Key_Z, Qt::CTRL | Qt::Key_Y});
    edit->addSeparator();
    AddModelWindowCommand(edit, text("&Wytnij"), Qt::CTRL | Qt::Key_X, &TfrmModel::CutSelected,
                          &TfrmModel::HasSelection);
    AddModelWindowCommand(edit, text("&Kopiuj"), Qt::CTRL | Qt::Key_C, &TfrmModel::CopySelected,
                          &TfrmModel::HasSelection);
    AddModelWindowCommand(edit, text("Wkl&ej"), Qt::CTRL | Qt::Key_V, &TfrmModel::PasteElement,
                          [this](const TfrmModel&) { return ClipboardHoldsElement; });
    AddModelWindowCommand(edit, text("&Usuń..."), Qt::Key_Delete, &TfrmModel::DeleteSelected,
                          &TfrmModel::HasSelection);
    AddModelWindowCommand(edit, text("P&owiel"), Qt::CTRL | Qt::Key_D, &TfrmModel::DuplicateSelected,
                          &TfrmModel::HasSelection);
    AddModelWindowCommand(edit, text("Zamień na &szereg"), {}, &TfrmModel::MakeSelectedSeries,
                          &TfrmModel::CanMakeSeries);
    // Other programs may change the clipboard without this one hearing of it.
    connect(edit, &QMenu::aboutToShow, this, &TfrmMain::ClipboardChanged);

    QMenu* insert = menuBar()->addMenu(text("&Wstaw"));
    AddModelWindowCommand(insert, text("&Kulę"), Qt::Key_Insert, &TfrmModel::InsertSphere);
    AddModelWindowCommand(insert, text("&Szereg"), Qt::SHIFT | Qt::Key_Insert, &TfrmModel::InsertSeries);

    QMenu* view = menuBar()->addMenu(text("Wi&dok"));
    // A plain letter: while no editing window is current it stays with the
    // focused control (the list's search by typing) instead of being taken.
    AddTargetCommand<TfrmModel>(view, text("&Dopasuj do modelu"), {}, &TfrmMain::ActiveModelWindow,
                                &TfrmModel::FitToModel, {})
        ->setShortcut(Qt::Key_F);

    QMenu* model = menuBar()->addMenu(text("&Model"));
    const auto modelSelected = [](const TfrmList& list) { return list.SelectedModel() != nullptr; };
    AddListCommand(model, text("&Dodaj"), Qt::CTRL | Qt::Key_Insert, &TfrmList::AddModel);
    AddListCommand(model, text("Utwórz kopię"), {}, &TfrmList::CopyModel, modelSelected);
    AddListCommand(model, text("&Usuń..."), Qt::CTRL | Qt::Key_Delete, &TfrmList::DeleteModel, modelSelected);
    AddListCommand(model, text("&Edytuj"), {}, &TfrmList::EditModel, modelSelected);
    model->addSeparator();
    AddListCommand(model, text("Do &góry"), Qt::CTRL | Qt::Key_Up, &TfrmList::MoveUp,
                   [](const TfrmList& list) { return list.CanMove(-1); });
    AddListCommand(model, text("W dół"), Qt::CTRL | Qt::Key_Down, &TfrmList::MoveDown,
                   [](const TfrmList& list) { return list.CanMove(1); });

    WindowMenu = menuBar()->addMenu(text("&Okno"));
    AddCommand(WindowMenu, text("&Kaskadowo"), {}, [this] { FMdiArea->cascadeSubWindows(); });
    AddCommand(WindowMenu, text("&Sąsiadująco"), {}, [this] { FMdiArea->tileSubWindows(); });
    AddModelWindowCommand(WindowMenu, text("&Zamknij"), Qt::CTRL | Qt::Key_F4, [](TfrmModel& window) { window.close(); });
    FixedWindowItems = WindowMenu->actions().size();
    connect(WindowMenu, &QMenu::aboutToShow, this, &TfrmMain::FillWindowMenu);
    FillWindowMenu();

    QMenu* help = menuBar()->addMenu(text("Pomo&c"));
    AddCommand(help, text("&O programie..."), {}, [this] { ShowAbout(); });
}

QAction* TfrmMain::AddCommand(QMenu* menu, const QString& caption, const QKeySequence& shortcut,
                              std::function<void()> command, std::function<bool()> canAct) {
    QAction* action = menu->addAction(caption);
    action->setShortcut(shortcut);
    connect(action, &QAction::triggered, this, [command = std::move(command)] { RunGuarded(command); });
    if (canAct) {
        Commands.push_back({action, std::move(canAct)});
        if (!shortcut.isEmpty()) KeepKeysWhileDisabled(*action);
    }
    return action;
}

template <typename Target>
QAction* TfrmMain::AddTargetCommand(QMenu* menu, const QString& caption, const QKeySequence& shortcut,
                                    Target* (TfrmMain::*target)() const, std::function<void(Target&)> command,
                                    std::function<bool(const Target&)> canAct) {
    return AddCommand(
        menu, caption, shortcut,
        [this, target, command = std::move(command)] {
            if (Target* child = (this->*target)()) command(*child);
        },
        [this, target, canAct = std::move(canAct)] {
            const Target* child = (this->*target)();
            return child && (!canAct || canAct(*child));
        });
}

QAction* TfrmMain::AddListCommand(QMenu* menu, const QString& caption, const QKeySequence& shortcut,
                                  std::function<void(TfrmList&)> command, std::function<bool(const TfrmList&)> canAct) {
    return AddTargetCommand(menu, caption, shortcut, &TfrmMain::List, std::move(command), std::move(canAct));
}

void TfrmMain::AddModelWindowCommand(QMenu* menu, const QString& caption, const QKeySequence& shortcut,
                                     std::function<void(TfrmModel&)> command,
                                     std::function<bool(const TfrmModel&)> canAct) {
    // With the list window (or nothing) as the current child these cannot act.
    AddTargetCommand(menu, caption, shortcut, &TfrmMain::ActiveModelWindow, std::move(command), std::move(canAct));
}

void TfrmMain::KeepKeysWhileDisabled(QAction& action) {
    // Qt hands the keys of a disabled action to the focused control, which may
    // act on them in a window the command is not for (the list view copies a
    // cell on Ctrl+C, a field deletes a word on Ctrl+Del). While the command
    // cannot act, this takes its keys and does nothing; a field that claims a
    // key for its text still gets it first.
    auto* placeholder = new QShortcut(action.shortcut(), this);
    placeholder->setEnabled(!action.isEnabled());
    connect(&action, &QAction::enabledChanged, placeholder,
            [placeholder](bool enabled) { placeholder->setEnabled(!enabled); });
}

void TfrmMain::UpdateCommands() {
    for (const TCommandState& command : Commands) command.Action->setEnabled(command.CanAct());
}

void TfrmMain::WindowActivated(QMdiSubWindow* window) {
    if (auto* frmModel = qobject_cast<TfrmModel*>(window)) {
        connect(frmModel, &TfrmModel::SelectionChanged, this, &TfrmMain::UpdateCommands, Qt::UniqueConnection);
        connect(frmModel, &TfrmModel::StatusChanged, this, &TfrmMain::UpdateStatus, Qt::UniqueConnection);
    }
    // Qt's area sets the main window's modified mark from the child it
    // activates; the mark belongs to the file.
    setWindowModified(FList && FList->isWindowModified());
    UpdateCommands();
    UpdateStatus();
}

void TfrmMain::UpdateStatus() {
    // The active editing window's pointer, zoom and selection; the file's state.
    const TfrmModel* frmModel = ActiveModelWindow();
    WindowStatus->setText(frmModel ? frmModel->StatusText() : QString());
    FileStatus->setText(!FList                ? QString()
                        : FList->isWindowModified() ? QString::fromUtf8("Zmieniony")
                                             : QString::fromUtf8("Bez zmian"));
}

void TfrmMain::ClipboardChanged() {
    ClipboardHoldsElement = TfrmModel::ClipboardElement().has_value();
    UpdateCommands();
}

TfrmModel* TfrmMain::ActiveModelWindow() const { return qobject_cast<TfrmModel*>(FMdiArea->currentSubWindow()); }

void TfrmMain::FillWindowMenu() {
    // The window list below the fixed items: the open child windows,
    // numbered, the current one checked.
    const QList<QAction*> items = WindowMenu->actions();
    for (qsizetype i = FixedWindowItems; i < items.size(); ++i) {
        WindowMenu->removeAction(items[i]);
        items[i]->deleteLater();
    }
    const QList<QMdiSubWindow*> windows = FMdiArea->subWindowList();
    if (!windows.isEmpty()) WindowMenu->addSeparator();
    int number = 0;
    for (QMdiSubWindow* window : windows) {
        const QString title = ShownTitle(*window).replace('&', "&&");
        QAction* item = WindowMenu->addAction(QString("&%1 %2").arg(++number).arg(title));
        item->setCheckable(true);
        item->setChecked(window == FMdiArea->currentSubWindow());
        connect(item, &QAction::triggered, FMdiArea, [this, window] { FMdiArea->setActiveSubWindow(window); });
    }
}

void TfrmMain::FillRecentMenu() {
    RecentMenu->clear();
    if (!FList) return;
    int number = 0;
    for (const QString& path : FList->RecentFiles()) {
        const QString name = QFileInfo(path).fileName().replace('&', "&&");
        QAction* item = RecentMenu->addAction(QString("&%1 %2").arg(++number).arg(name));
        item->setToolTip(path);
        connect(item, &QAction::triggered, this, [this, path] { RunGuarded([&] { FList->OpenRecent(path); }); });
    }
    if (number > 0) RecentMenu->addSeparator();
    QAction* reopen = RecentMenu->addAction(QString::fromUtf8("Otwieraj ostatni plik przy &starcie"));
    reopen->setCheckable(true);
    reopen->setChecked(FList->ReopensLastFile());
    connect(reopen, &QAction::toggled, this, [this](bool on) { FList->SetReopensLastFile(on); });
}

void TfrmMain::ShowAbout() {
    QMessageBox::information(this, "O programie",
                             QString(kProgramTitle) + "\n\n" +
                                 QString::fromUtf8("Edytor modeli z kul do gry GlimmerBay. Napisał zespół GlimmerBay."));
}

void TfrmMain::UpdateTitle(const QString& fileName) {
    setWindowTitle(fileName.isEmpty() ? QString(kProgramTitle) + "[*]"
                                      : QString(kProgramTitle) + " - " + LiteralTitle(QFileInfo(fileName).fileName()) + "[*]");
}

void TfrmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (FList) return;
    FList = std::make_unique<TfrmList>(*FMdiArea, SettingsPath);
    connect(FList.get(), &TfrmList::FileNameChanged, this, &TfrmMain::UpdateTitle);
    connect(FList.get(), &TfrmList::SelectionChanged, this, &TfrmMain::UpdateCommands);
    connect(FList.get(), &TfrmList::HistoryChanged, this, &TfrmMain::UpdateCommands);
    connect(FList.get(), &TfrmList::ModifiedChanged, this, [this](bool modified) {
        setWindowModified(modified);
        UpdateStatus();
    });
    FMdiArea->addSubWindow(FList.get());
    // Its smallest size with room for the title bar and frame it now has.
    FList->setMinimumSize(FList->minimumSizeHint());
    FList->resize(FirstSize(FList->sizeHint(), FList->minimumSize(), FMdiArea->viewport()->size(),
                            FMdiArea->style()->pixelMetric(QStyle::PM_ScrollBarExtent)));
    FList->move(0, 0);
    FList->show();
    UpdateCommands();
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    bool proceed = true;
    if (FList) {
        proceed = false;
        RunGuarded([&] { proceed = FList->AskSaveChanges(QString::fromUtf8("Zakończ")); });
    }
    if (proceed) {
        WriteWindowGeometry(SettingsPath, saveGeometry());
        event->accept();
    } else {
        event->ignore();
    }
}

}  // namespace editor
