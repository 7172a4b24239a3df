#include "editor/first_size.h"

namespace editor {

QSize FirstSize(QSize wanted, QSize needed, QSize room) { return wanted.boundedTo(room).expandedTo(needed); }

QSize MainWindowRoom(const QRect& available) { return available.size() * 9 / 10; }

}  // namespace editor
