#include "editor/drag_handle.h"

#include <QMouseEvent>

namespace editor {

TDragHandle::TDragHandle(QWidget* parent, int size) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
    setFixedSize(size, size);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button);
    setCursor(Qt::SizeVerCursor);
}

void TDragHandle::mousePressEvent(QMouseEvent* event) {
    if (OnMouseDown) OnMouseDown(event->position().toPoint(), event->modifiers());
}

void TDragHandle::mouseMoveEvent(QMouseEvent* event) {
    if (OnMouseMove) OnMouseMove(event->position().toPoint());
}

void TDragHandle::mouseReleaseEvent(QMouseEvent*) {
    if (OnMouseUp) OnMouseUp();
}

void TDragHandle::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click is still a press, after the double
    // click itself has been handled.
    if (OnDblClick) OnDblClick();
    mousePressEvent(event);
}

}  // namespace editor
