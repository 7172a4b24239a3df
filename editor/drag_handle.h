#pragma once
// A small raised panel that the user drags with the mouse to change a value,
// drawn with a grip of dots (grey while it is disabled). The owner decides
// what a press, a move and a release mean.

#include <QFrame>
#include <QPoint>
#include <functional>

namespace editor {

class TDragHandle : public QFrame {
public:
    TDragHandle(QWidget* parent, int size);

    // Positions are in the handle's own coordinates.
    std::function<void(QPoint, Qt::KeyboardModifiers)> OnMouseDown;
    std::function<void(QPoint)> OnMouseMove;
    std::function<void()> OnMouseUp;
    std::function<void()> OnDblClick;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace editor
