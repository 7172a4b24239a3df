#pragma once
// What both kinds of child window share in the main window's area.

class QMdiSubWindow;

namespace editor {

// Qt's window menu of a child window closes it on Ctrl+F4 too, which makes
// the key ambiguous beside Okno › Zamknij: the child's own key goes, the
// main window's command keeps it.
void LeaveCloseKeyToTheMenu(QMdiSubWindow& window);

// Ends the edit of a field of the window while the window is still whole:
// called first in its destructor, since Qt's own would end it later, from
// a half-destroyed window.
void ReleaseFocus(QMdiSubWindow& window);

// A child window that lives as long as the program: its close button and
// its window menu's "Zamknij" are disabled, as they could do nothing.
void MakeUnclosable(QMdiSubWindow& window);

}  // namespace editor
