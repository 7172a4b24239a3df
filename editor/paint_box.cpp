#include "editor/paint_box.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>

namespace editor {

TPaintBox::TPaintBox(QWidget* parent) : QWidget(parent) {
    // Every paint covers the whole box, so nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPaintBox::paintEvent(QPaintEvent* event) {
    if (!OnPaint) return;
    QPainter painter(this);
    OnPaint(painter, event->rect());
}

void TPaintBox::mousePressEvent(QMouseEvent* event) {
    QWidget::mousePressEvent(event);
    if (OnMouseDown) OnMouseDown(event->position(), event->button(), event->modifiers());
}

void TPaintBox::mouseReleaseEvent(QMouseEvent* event) {
    QWidget::mouseReleaseEvent(event);
    if (OnMouseUp) OnMouseUp(event->position(), event->button());
}

void TPaintBox::mouseMoveEvent(QMouseEvent* event) {
    QWidget::mouseMoveEvent(event);
    if (OnMouseMove) OnMouseMove(event->position());
}

void TPaintBox::wheelEvent(QWheelEvent* event) {
    if (!OnWheel) {
        QWidget::wheelEvent(event);
        return;
    }
    // A horizontal-only turn (a tilted wheel) is left to the parent.
    const int turn = event->angleDelta().y();
    if (turn == 0) {
        event->ignore();
        return;
    }
    event->accept();
    OnWheel(event->position(), turn);
}

}  // namespace editor
