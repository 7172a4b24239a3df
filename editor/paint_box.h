#pragma once
// A plain drawing area: its owner paints it and hears its mouse presses,
// moves, releases and wheel turns.

#include <QPoint>
#include <QPointF>
#include <QWidget>
#include <functional>

class QPainter;

namespace editor {

class TPaintBox : public QWidget {
public:
    explicit TPaintBox(QWidget* parent);

    // The painter draws on the whole box; the rectangle is the part to repaint.
    std::function<void(QPainter&, const QRect&)> OnPaint;
    // Positions in the box's own coordinates, which at a fractional scale
    // factor fall between whole pixels.
    std::function<void(QPointF, Qt::MouseButton, Qt::KeyboardModifiers)> OnMouseDown;
    std::function<void(QPointF, Qt::MouseButton)> OnMouseUp;
    // With it set the box follows the pointer also while no button is held.
    std::function<void(QPointF)> OnMouseMove;
    // The vertical turn in eighths of a degree (120 a notch), positive away
    // from the user.
    std::function<void(QPointF, int)> OnWheel;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
};

}  // namespace editor
