#include "editor/child_window.h"

#include <QAction>
#include <QApplication>
#include <QMdiSubWindow>
#include <QMenu>

namespace editor {
namespace {

// The window menu's item that closes the window: the one on Qt's close key.
QAction* CloseItem(QMdiSubWindow& window) {
    if (!window.systemMenu()) return nullptr;
    for (QAction* item : window.systemMenu()->actions())
        if (item->shortcuts().contains(QKeySequence(QKeySequence::Close))) return item;
    return nullptr;
}

}  // namespace

void LeaveCloseKeyToTheMenu(QMdiSubWindow& window) {
    if (QAction* close = CloseItem(window)) close->setShortcuts({});
}

void ReleaseFocus(QMdiSubWindow& window) {
    if (QWidget* focus = QApplication::focusWidget(); focus && window.isAncestorOf(focus)) focus->clearFocus();
}

void MakeUnclosable(QMdiSubWindow& window) {
    if (QAction* close = CloseItem(window)) {
        close->setShortcuts({});
        close->setEnabled(false);
    }
    // Without an explicit choice of buttons Qt shows them all.
    window.setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinMaxButtonsHint);
}

}  // namespace editor
