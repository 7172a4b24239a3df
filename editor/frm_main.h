#pragma once
// The editor's main window: the menu bar and the area that hosts the model
// list window and the model editing windows. It routes the menu commands to
// them and asks about unsaved changes before the program closes.

#include <QMainWindow>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;

namespace editor {

class TfrmList;
class TfrmModel;

class TfrmMain : public QMainWindow {
    Q_OBJECT

public:
    // The list window, created when this window is first shown, keeps its
    // settings in the file at settingsPath.
    explicit TfrmMain(QString settingsPath);
    ~TfrmMain() override;

    TfrmList* List() const { return FList.get(); }
    QMdiArea* MdiArea() const { return FMdiArea; }
    // The model editing window that is the current child, if it is one.
    TfrmModel* ActiveModelWindow() const;

    void ShowAbout();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A command that can act only some of the time: its item is enabled while
    // CanAct says so, as UpdateCommands last found.
    struct TCommandState {
        QAction* Action;
        std::function<bool()> CanAct;
    };

    void CreateMenus();
    // Without canAct the command is always enabled.
    QAction* AddCommand(QMenu* menu, const QString& caption, const QKeySequence& shortcut,
                        std::function<void()> command, std::function<bool()> canAct = {});
    // A command on the child that target returns, enabled while there is one
    // and canAct (if given) allows.
    template <typename Target>
    QAction* AddTargetCommand(QMenu* menu, const QString& caption, const QKeySequence& shortcut,
                          Target* (TfrmMain::*target)() const, std::function<void(Target&)> command,
                          std::function<bool(const Target&)> canAct);
    QAction* AddListCommand(QMenu* menu, const QString& caption, const QKeySequence& shortcut,
                            std::function<void(TfrmList&)> command, std::function<bool(const TfrmList&)> canAct = {});
    void AddModelWindowCommand(QMenu* menu, const QString& caption, const QKeySequence& shortcut,
                               std::function<void(TfrmModel&)> command,
                               std::function<bool(const TfrmModel&)> canAct = {});
    void KeepKeysWhileDisabled(QAction& action);
    void UpdateCommands();
    void WindowActivated(QMdiSubWindow* window);
    void ClipboardChanged();
    void FillWindowMenu();
    void FillRecentMenu();
    void UpdateStatus();
    void UpdateTitle(const QString& fileName);

    QString SettingsPath;
    QMdiArea* FMdiArea;
    QMenu* WindowMenu = nullptr;
    QMenu* RecentMenu = nullptr;
    QLabel* WindowStatus = nullptr;
    QLabel* FileStatus = nullptr;
    // The window menu's own items, before the list of windows.
    qsizetype FixedWindowItems = 0;
    std::vector<TCommandState> Commands;
    // Whether the clipboard holds an element that a paste would add.
    bool ClipboardHoldsElement = false;
    // Goes before the area's children, while the area that hosts the editing
    // windows still exists.
    std::unique_ptr<TfrmList> FList;
};

}  // namespace editor
