#include "editor/paint_box.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

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
    if (OnMouseDown) OnMouseDown(event->position().toPoint());
}

void TPaintBox::mouseMoveEvent(QMouseEvent* event) {
    QWidget::mouseMoveEvent(event);
    if (OnMouseMove) OnMouseMove(event->position().toPoint());
}

}  // namespace editor
