#pragma once
// The size a window opens with: what it would like, within the room it opens
// in, at any scale factor (sizes here are in Qt's device-independent pixels,
// so a 1280 × 800 screen at scale 2 is 640 × 400 of them).

#include <QRect>
#include <QSize>

namespace editor {

// The wanted size, no larger than the room and no smaller than the window
// needs (a window too small for its panels would cut them off; the area
// that holds it scrolls instead). A window that needs more height than the
// room leaves the width of the area's scroll bar free, and the other way
// round, so that it needs no second scroll bar.
QSize FirstSize(QSize wanted, QSize needed, QSize room, int scrollBar = 0);

// The room for the main window on a screen's available area: a tenth is
// left for the window manager's frame and for seeing that the window can
// be moved.
QSize MainWindowRoom(const QRect& available);

}  // namespace editor
