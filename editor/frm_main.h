#pragma once
// The editor's main window: the menu bar and the area that hosts the model
// list window and the model editing windows. It routes the menu commands to
// them and asks about unsaved changes before the program closes.

#include <QMainWindow>
#include <QString>
#include <functional>
#include <memory>

class QAction;
class QMdiArea;
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

private:
    void CreateMenus();
    QAction* AddCommand(QMenu* menu, const QString& caption, const QKeySequence& shortcut,
                        std::function<void()> command);
    void AddListCommand(QMenu* menu, const QString& caption, const QKeySequence& shortcut,
                        void (TfrmList::*command)());
    void AddModelWindowCommand(QMenu* menu, const QString& caption, const QKeySequence& shortcut,
                               void (TfrmModel::*command)());
    void FillWindowMenu();
    void UpdateTitle(const QString& fileName);

    QString SettingsPath;
    QMdiArea* FMdiArea;
    QMenu* WindowMenu = nullptr;
    QAction* CascadeAction = nullptr;
    // Goes before the area's children, while the area that hosts the editing
    // windows still exists.
    std::unique_ptr<TfrmList> FList;
};

}  // namespace editor
