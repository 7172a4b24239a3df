#include "editor/drag_handle.h"

#include <QMouseEvent>
#include <QPainter>

namespace editor {

TDragHandle::TDragHandle(QWidget* parent, int size) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
    setFixedSize(size, size);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button);
    setCursor(Qt::SizeVerCursor);
}

void TDragHandle::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QPalette::ColorGroup group = isEnabled() ? QPalette::Active : QPalette::Disabled;
    const QPoint centre = rect().center();
    // Three by three engraved dots, a light one below and right of each dark one.
    for (int row = -1; row <= 1; ++row)
        for (int column = -1; column <= 1; ++column) {
            const QPoint dot = centre + QPoint(column * 3, row * 3);
            painter.fillRect(QRect(dot + QPoint(1, 1), QSize(1, 1)), palette().color(group, QPalette::Light));
            painter.fillRect(QRect(dot, QSize(1, 1)), palette().color(group, QPalette::Dark));
        }
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
