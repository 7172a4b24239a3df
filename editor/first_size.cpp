#include "editor/first_size.h"

namespace editor {

QSize FirstSize(QSize wanted, QSize needed, QSize room, int scrollBar) {
    if (needed.height() > room.height()) room.rwidth() -= scrollBar;
    if (needed.width() > room.width()) room.rheight() -= scrollBar;
    return wanted.boundedTo(room).expandedTo(needed);
}

QSize MainWindowRoom(const QRect& available) { return available.size() * 9 / 10; }

}  // namespace editor
